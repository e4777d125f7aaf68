// The text decoder: any bytes decode; valid UTF-8 and Windows-1251 without 0x98 go back
// byte for byte.
#include "fuzz_support.h"

#include "core/text_codec.h"

using namespace kalmo::core;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const DecodedText d = decodeText(bytes);
    const QByteArray again = encodeText(d.text, d.encoding);
    if (d.encoding == TextEncoding::Utf8 && isValidUtf8(bytes))
        FUZZ_CHECK(again == bytes);
    if (d.encoding == TextEncoding::Windows1251 && !bytes.contains('\x98'))
        FUZZ_CHECK(again == bytes);
    for (TextEncoding e : {TextEncoding::Utf8, TextEncoding::Utf16LE, TextEncoding::Utf16BE,
                           TextEncoding::Windows1251})
        decodeBytes(bytes.constData(), bytes.size(), e);
    FUZZ_CHECK(fromWindows1251(toWindows1251(d.text)).size() <= d.text.size());
    return 0;
}
