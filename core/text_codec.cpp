#include "core/text_codec.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <array>
#include <cerrno>
#include <iconv.h>
#include <memory>

namespace kalmo::core {

namespace {

// iconv descriptor owned for one conversion.
struct IconvHandle {
    iconv_t cd;
    IconvHandle(const char *to, const char *from) : cd(iconv_open(to, from)) {}
    ~IconvHandle() {
        if (cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd);
    }
    bool ok() const { return cd != reinterpret_cast<iconv_t>(-1); }
};

QByteArray convert(const char *to, const char *from, const QByteArray &in, char replacement) {
    IconvHandle h(to, from);
    if (!h.ok())
        return {};
    QByteArray out;
    out.resize(in.size() * 4 + 16);
    char *src = const_cast<char *>(in.constData());
    size_t srcLeft = static_cast<size_t>(in.size());
    char *dst = out.data();
    size_t dstLeft = static_cast<size_t>(out.size());
    while (srcLeft > 0) {
        if (iconv(h.cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<size_t>(-1))
            break;
        if (errno == EILSEQ || errno == EINVAL) {
            // Skip one unconvertible input unit (a UTF-8 sequence or one byte) and mark it.
            int skip = 1;
            if (std::string_view(from) == "UTF-8") {
                const unsigned char c = static_cast<unsigned char>(*src);
                skip = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
                skip = std::min<int>(skip, static_cast<int>(srcLeft));
            }
            src += skip;
            srcLeft -= static_cast<size_t>(skip);
            if (dstLeft > 0) {
                *dst++ = replacement;
                --dstLeft;
            }
        } else {
            break; // E2BIG cannot happen with the room reserved above
        }
    }
    out.resize(static_cast<qsizetype>(dst - out.data()));
    return out;
}

} // namespace

bool isValidUtf8(const QByteArray &bytes) {
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int len;
        unsigned int cp;
        if ((c & 0xE0) == 0xC0) {
            len = 2;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + len > n)
            return false;
        for (int k = 1; k < len; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        if ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) ||
            cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += len;
    }
    return true;
}

QString fromWindows1251(const QByteArray &bytes) {
    return QString::fromUtf8(convert("UTF-8", "WINDOWS-1251", bytes, '?'));
}

QByteArray toWindows1251(const QString &text) {
    return convert("WINDOWS-1251", "UTF-8", text.toUtf8(), '?');
}

DecodedText decodeText(const QByteArray &bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return {QString::fromUtf8(bytes.mid(3)), TextEncoding::Utf8Bom};
    if (bytes.startsWith("\xFF\xFE")) {
        QStringDecoder d(QStringDecoder::Utf16LE);
        return {d.decode(bytes.mid(2)), TextEncoding::Utf16LE};
    }
    if (bytes.startsWith("\xFE\xFF")) {
        QStringDecoder d(QStringDecoder::Utf16BE);
        return {d.decode(bytes.mid(2)), TextEncoding::Utf16BE};
    }
    if (isValidUtf8(bytes))
        return {QString::fromUtf8(bytes), TextEncoding::Utf8};
    return {fromWindows1251(bytes), TextEncoding::Windows1251};
}

QByteArray encodeText(const QString &text, TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8:
        return text.toUtf8();
    case TextEncoding::Utf8Bom:
        return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    case TextEncoding::Utf16LE: {
        QStringEncoder e(QStringEncoder::Utf16LE);
        return QByteArray("\xFF\xFE") + QByteArray(e.encode(text));
    }
    case TextEncoding::Utf16BE: {
        QStringEncoder e(QStringEncoder::Utf16BE);
        return QByteArray("\xFE\xFF") + QByteArray(e.encode(text));
    }
    case TextEncoding::Windows1251:
        return toWindows1251(text);
    }
    return text.toUtf8();
}

} // namespace kalmo::core
