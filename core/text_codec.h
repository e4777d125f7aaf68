#pragma once

#include <QByteArray>
#include <QString>

namespace kalmo::core {

enum class TextEncoding { Utf8, Utf8Bom, Utf16LE, Utf16BE, Windows1251 };

struct DecodedText {
    QString text;
    TextEncoding encoding = TextEncoding::Utf8;
};

// Decodes a file's bytes: a BOM decides UTF-8 or UTF-16; otherwise valid UTF-8 is UTF-8
// and anything else is Windows-1251 (the 8-bit code page of kiosks set up under Windows).
DecodedText decodeText(const QByteArray &bytes);

// Encodes text back into the given encoding (with its BOM where it has one). Characters
// that Windows-1251 cannot hold become '?'.
QByteArray encodeText(const QString &text, TextEncoding encoding);

bool isValidUtf8(const QByteArray &bytes);

QString fromWindows1251(const QByteArray &bytes);
QByteArray toWindows1251(const QString &text);

} // namespace kalmo::core
