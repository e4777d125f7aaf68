#pragma once

#include <QByteArray>
#include <QString>

namespace kalmo::core {

enum class TextEncoding { Utf8, Utf8Bom, Utf16LE, Utf16BE, Windows1251 };

struct DecodedText {
    QString text;
    TextEncoding encoding = TextEncoding::Utf8;
};

// How a file's bytes are taken, in this order:
// 1. a byte order mark decides UTF-8 or UTF-16;
// 2. bytes that are valid UTF-8 throughout are UTF-8;
// 3. bytes with invalid sequences are still UTF-8 when their valid multi-byte sequences
//    outnumber their invalid bytes: a UTF-8 file with a few stray bytes. Windows-1251 text
//    almost never forms a valid multi-byte sequence (a capital letter followed by one of
//    the few code page bytes in 0x80-0xBF), so it never passes this test;
// 4. anything else is Windows-1251 (the 8-bit code page of kiosks set up under Windows).
TextEncoding detectEncoding(const QByteArray &bytes);

// Length of the byte order mark an encoding starts with (0 for none).
int bomSize(TextEncoding encoding);

// Decodes bytes that carry no byte order mark. Stray bytes of UTF-8 and the one byte that
// Windows-1251 leaves unassigned (0x98) read as U+FFFD.
QString decodeBytes(const char *data, qsizetype size, TextEncoding encoding);
// Encodes without a byte order mark. Characters that Windows-1251 cannot hold become '?'.
QByteArray encodeBytes(const QString &text, TextEncoding encoding);

// Whole files: detectEncoding, then the text after the byte order mark.
DecodedText decodeText(const QByteArray &bytes);
// Encodes text with the encoding's byte order mark, if it has one.
QByteArray encodeText(const QString &text, TextEncoding encoding);

bool isValidUtf8(const QByteArray &bytes);

QString fromWindows1251(const QByteArray &bytes);
QByteArray toWindows1251(const QString &text);

} // namespace kalmo::core
