#include "platform/codepage.h"

#include "codec.h"
#include "iconv_codec.h"
#include "single_byte_pages.h"

#include "platform/errors.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace platform {
namespace {

constexpr unsigned kDefaultAnsiCodePage = 1252;
constexpr uint32_t kMbErrInvalidChars = 0x8;  // MB_ERR_INVALID_CHARS
constexpr uint32_t kWcErrInvalidChars = 0x80; // WC_ERR_INVALID_CHARS

// The code page $KORVO_ACP names when it is a number that can be converted, else 0.
unsigned ConfiguredAnsiCodePage() {
    const char* text = std::getenv("KORVO_ACP");
    if (text == nullptr || *text < '0' || *text > '9')
        return 0;
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (*end != '\0' || value == 0 || value > 65535)
        return 0;
    const auto codePage = static_cast<unsigned>(value);
    if (codePage == kCodePageUtf8 || detail::FindSingleBytePage(codePage) != nullptr ||
        detail::IconvSupports(codePage))
        return codePage;
    return 0;
}

int Fail(uint32_t error) {
    SetLastError(error);
    return 0;
}

// Checks the arguments both conversions share; false (with the last error set) when bad.
template <typename Src, typename Dst>
bool ValidArguments(const Src* src, int srcLen, const Dst* dst, int dstLen) {
    if (src == nullptr || srcLen == 0 || srcLen < -1 || dstLen < 0 ||
        (dst == nullptr && dstLen > 0)) {
        SetLastError(kErrorInvalidParameter);
        return false;
    }
    return true;
}

// Hands a finished conversion to the caller: its size when dstLen is 0, all of it when it
// fits, else as many whole characters as fit (fit is that count) and a failure.
template <typename Unit>
int Deliver(const std::basic_string<Unit>& text, size_t fit, Unit* dst, int dstLen) {
    if (text.size() > static_cast<size_t>(INT_MAX))
        return Fail(kErrorInvalidParameter);
    if (dstLen == 0)
        return static_cast<int>(text.size());
    if (text.size() <= static_cast<size_t>(dstLen)) {
        std::memcpy(dst, text.data(), text.size() * sizeof(Unit));
        return static_cast<int>(text.size());
    }
    std::memcpy(dst, text.data(), fit * sizeof(Unit));
    return Fail(kErrorInsufficientBuffer);
}

} // namespace

unsigned GetACP() {
    const unsigned configured = ConfiguredAnsiCodePage();
    return configured != 0 ? configured : kDefaultAnsiCodePage;
}

int MultiByteToWideChar(unsigned codePage, uint32_t flags, const char* src, int srcLen, WCHAR* dst,
                        int dstLen) {
    if (!ValidArguments(src, srcLen, dst, dstLen))
        return 0;
    const unsigned resolved = detail::ResolveCodePage(codePage);
    if (resolved == 0)
        return Fail(kErrorInvalidParameter);
    const size_t size = srcLen == -1 ? std::strlen(src) + 1 : static_cast<size_t>(srcLen);
    detail::WideString text;
    if (!detail::Decode(resolved, std::string_view(src, size), (flags & kMbErrInvalidChars) != 0,
                        &text))
        return Fail(kErrorNoUnicodeTranslation);
    size_t fit = static_cast<size_t>(dstLen);
    if (fit < text.size() && fit > 0 && detail::IsPairAt(text.data(), text.size(), fit - 1))
        --fit; // never half a surrogate pair
    return Deliver(text, fit, dst, dstLen);
}

int WideCharToMultiByte(unsigned codePage, uint32_t flags, const WCHAR* src, int srcLen, char* dst,
                        int dstLen) {
    if (!ValidArguments(src, srcLen, dst, dstLen))
        return 0;
    const unsigned resolved = detail::ResolveCodePage(codePage);
    if (resolved == 0)
        return Fail(kErrorInvalidParameter);
    const size_t size =
        srcLen == -1 ? std::char_traits<WCHAR>::length(src) + 1 : static_cast<size_t>(srcLen);
    const bool strict = (flags & kWcErrInvalidChars) != 0;
    std::string text;
    text.reserve(size);
    if (!detail::Encode(resolved, src, size, strict, &text, nullptr))
        return Fail(kErrorNoUnicodeTranslation);
    size_t fit = text.size();
    if (dstLen != 0 && text.size() > static_cast<size_t>(dstLen)) {
        // Too small a buffer: encode again, noting where each character ends, to hand over as
        // many whole characters as fit.
        std::string again;
        std::vector<size_t> ends;
        detail::Encode(resolved, src, size, strict, &again, &ends);
        fit = 0;
        for (size_t end : ends) {
            if (end > static_cast<size_t>(dstLen))
                break;
            fit = end;
        }
    }
    return Deliver(text, fit, dst, dstLen);
}

} // namespace platform
