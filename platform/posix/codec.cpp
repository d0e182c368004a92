#include "codec.h"

#include "iconv_codec.h"
#include "single_byte_pages.h"
#include "utf8_codec.h"

#include "platform/codepage.h"

namespace platform::detail {

unsigned ResolveCodePage(unsigned codePage) {
    if (codePage == kCodePageAnsi)
        return GetACP();
    if (codePage == kCodePageUtf8 || FindSingleBytePage(codePage) != nullptr)
        return codePage;
    return IconvSupports(codePage) ? codePage : 0;
}

bool Decode(unsigned codePage, std::string_view src, bool strict, WideString* out) {
    if (codePage == kCodePageUtf8)
        return DecodeUtf8(src, strict, out);
    if (const SingleBytePage* page = FindSingleBytePage(codePage)) {
        DecodeSingleByte(*page, src, out);
        return true;
    }
    return DecodeIconv(codePage, src, strict, out);
}

bool Encode(unsigned codePage, const WCHAR* src, size_t n, bool strict, std::string* out,
            std::vector<size_t>* ends) {
    if (codePage == kCodePageUtf8)
        return EncodeUtf8(src, n, strict, out, ends);
    if (const SingleBytePage* page = FindSingleBytePage(codePage)) {
        EncodeSingleByte(*page, src, n, out, ends);
        return true;
    }
    return EncodeIconv(codePage, src, n, out, ends);
}

} // namespace platform::detail
