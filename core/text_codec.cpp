#include "core/text_codec.h"

#include <array>

namespace kalmo::core {

namespace {

constexpr char16_t kReplacement = u'\uFFFD';

// Windows-1251 bytes 0x80-0xBF; 0xC0-0xFF are U+0410-U+044F in order. 0x98 is unassigned.
constexpr std::array<char16_t, 64> kCp1251High = {
    u'\u0402',    u'\u0403', u'\u201A', u'\u0453', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u20AC',    u'\u2030', u'\u0409', u'\u2039', u'\u040A', u'\u040C', u'\u040B', u'\u040F',
    u'\u0452',    u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    kReplacement, u'\u2122', u'\u0459', u'\u203A', u'\u045A', u'\u045C', u'\u045B', u'\u045F',
    u'\u00A0',    u'\u040E', u'\u045E', u'\u0408', u'\u00A4', u'\u0490', u'\u00A6', u'\u00A7',
    u'\u0401',    u'\u00A9', u'\u0404', u'\u00AB', u'\u00AC', u'\u00AD', u'\u00AE', u'\u0407',
    u'\u00B0',    u'\u00B1', u'\u0406', u'\u0456', u'\u0491', u'\u00B5', u'\u00B6', u'\u00B7',
    u'\u0451',    u'\u2116', u'\u0454', u'\u00BB', u'\u0458', u'\u0405', u'\u0455', u'\u0457',
};

char cp1251Byte(char16_t c) {
    if (c < 0x80)
        return static_cast<char>(c);
    if (c >= 0x0410 && c <= 0x044F)
        return static_cast<char>(0xC0 + (c - 0x0410));
    for (size_t i = 0; i < kCp1251High.size(); ++i)
        if (kCp1251High[i] == c && c != kReplacement)
            return static_cast<char>(0x80 + i);
    return '?';
}

// Length of the valid UTF-8 sequence starting at p[0] (of n bytes left), 0 when invalid.
int utf8SequenceLength(const unsigned char *p, qsizetype n) {
    const unsigned char c = p[0];
    if (c < 0x80)
        return 1;
    auto cont = [&](qsizetype k, unsigned char lo = 0x80, unsigned char hi = 0xBF) {
        return k < n && p[k] >= lo && p[k] <= hi;
    };
    if (c >= 0xC2 && c <= 0xDF)
        return cont(1) ? 2 : 0;
    if (c >= 0xE0 && c <= 0xEF) {
        // No overlong forms (E0 80-9F) and no surrogates (ED A0-BF).
        const unsigned char lo = c == 0xE0 ? 0xA0 : 0x80;
        const unsigned char hi = c == 0xED ? 0x9F : 0xBF;
        return cont(1, lo, hi) && cont(2) ? 3 : 0;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        // Nothing overlong (F0 80-8F) and nothing past U+10FFFF (F4 90-BF).
        const unsigned char lo = c == 0xF0 ? 0x90 : 0x80;
        const unsigned char hi = c == 0xF4 ? 0x8F : 0xBF;
        return cont(1, lo, hi) && cont(2) && cont(3) ? 4 : 0;
    }
    return 0;
}

struct Utf8Census {
    qsizetype multiByte = 0; // valid sequences of two to four bytes
    qsizetype invalid = 0;   // bytes that start no valid sequence
};

Utf8Census utf8Census(const QByteArray &bytes) {
    Utf8Census census;
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        if (p[i] < 0x80) {
            ++i;
            continue;
        }
        const int len = utf8SequenceLength(p + i, n - i);
        if (len == 0) {
            ++census.invalid;
            ++i;
        } else {
            ++census.multiByte;
            i += len;
        }
    }
    return census;
}

QString decodeUtf16(const char *data, qsizetype size, bool bigEndian) {
    const qsizetype units = size / 2;
    QString out(units + (size % 2), Qt::Uninitialized);
    char16_t *dst = reinterpret_cast<char16_t *>(out.data());
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    for (qsizetype i = 0; i < units; ++i) {
        const unsigned char a = p[2 * i], b = p[2 * i + 1];
        dst[i] = static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    }
    if (size % 2)
        dst[units] = kReplacement; // half a unit at the end
    return out;
}

QByteArray encodeUtf16(const QString &text, bool bigEndian) {
    QByteArray out(text.size() * 2, Qt::Uninitialized);
    char *dst = out.data();
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        *dst++ = bigEndian ? hi : lo;
        *dst++ = bigEndian ? lo : hi;
    }
    return out;
}

} // namespace

bool isValidUtf8(const QByteArray &bytes) {
    return utf8Census(bytes).invalid == 0;
}

TextEncoding detectEncoding(const QByteArray &bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return TextEncoding::Utf8Bom;
    if (bytes.startsWith("\xFF\xFE"))
        return TextEncoding::Utf16LE;
    if (bytes.startsWith("\xFE\xFF"))
        return TextEncoding::Utf16BE;
    const Utf8Census census = utf8Census(bytes);
    if (census.invalid == 0 || census.multiByte > census.invalid)
        return TextEncoding::Utf8;
    return TextEncoding::Windows1251;
}

int bomSize(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8Bom:
        return 3;
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
        return 2;
    case TextEncoding::Utf8:
    case TextEncoding::Windows1251:
        break;
    }
    return 0;
}

QString decodeBytes(const char *data, qsizetype size, TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8:
    case TextEncoding::Utf8Bom:
        return QString::fromUtf8(data, size);
    case TextEncoding::Utf16LE:
        return decodeUtf16(data, size, false);
    case TextEncoding::Utf16BE:
        return decodeUtf16(data, size, true);
    case TextEncoding::Windows1251:
        break;
    }
    QString out(size, Qt::Uninitialized);
    char16_t *dst = reinterpret_cast<char16_t *>(out.data());
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    for (qsizetype i = 0; i < size; ++i) {
        const unsigned char c = p[i];
        dst[i] = c < 0x80 ? c : c >= 0xC0 ? char16_t(0x0410 + (c - 0xC0)) : kCp1251High[c - 0x80];
    }
    return out;
}

QByteArray encodeBytes(const QString &text, TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8:
    case TextEncoding::Utf8Bom:
        return text.toUtf8();
    case TextEncoding::Utf16LE:
        return encodeUtf16(text, false);
    case TextEncoding::Utf16BE:
        return encodeUtf16(text, true);
    case TextEncoding::Windows1251:
        break;
    }
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i; // one character, one '?'
        out += cp1251Byte(ch.unicode());
    }
    return out;
}

DecodedText decodeText(const QByteArray &bytes) {
    const TextEncoding encoding = detectEncoding(bytes);
    const int skip = bomSize(encoding);
    return {decodeBytes(bytes.constData() + skip, bytes.size() - skip, encoding), encoding};
}

QByteArray encodeText(const QString &text, TextEncoding encoding) {
    static const char *const boms[] = {"", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF", ""};
    return QByteArray(boms[static_cast<int>(encoding)], bomSize(encoding)) +
           encodeBytes(text, encoding);
}

QString fromWindows1251(const QByteArray &bytes) {
    return decodeBytes(bytes.constData(), bytes.size(), TextEncoding::Windows1251);
}

QByteArray toWindows1251(const QString &text) {
    return encodeBytes(text, TextEncoding::Windows1251);
}

} // namespace kalmo::core
