// Code-page conversion and comparison.
//
// UTF-8 goes through the layer's own codec, shared with the POSIX side, so that invalid
// input is replaced the same way on every system the library runs on. Every other code page,
// the ANSI one included, is the system's. Either way the result is handed over by one rule:
// all of it when it fits, else the whole characters that fit and kErrorInsufficientBuffer;
// a failed conversion writes nothing. Unmapped characters become '?' (no best-fit mapping
// towards a similar letter).
#include "windows_api.h"

#include "utf8_codec.h"
#include "platform/codepage.h"
#include "platform/errors.h"

#include <climits>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace platform {
namespace {

int Fail(DWORD error) {
    ::SetLastError(error);
    return 0;
}

// Checks the arguments both conversions share; false (with the last error set) when bad.
template <typename Src, typename Dst>
bool ValidArguments(const Src* src, int srcLen, const Dst* dst, int dstLen) {
    if (src == nullptr || srcLen == 0 || srcLen < -1 || dstLen < 0 ||
        (dst == nullptr && dstLen > 0)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return true;
}

// The code page a conversion with codePage uses (kCodePageAnsi resolved), or 0 when the
// system cannot convert it.
unsigned Resolve(unsigned codePage) {
    if (codePage == kCodePageAnsi)
        return ::GetACP();
    if (codePage == kCodePageUtf8)
        return codePage;
    return ::IsValidCodePage(codePage) ? codePage : 0;
}

// Code pages whose conversion to multibyte refuses every flag but the strict one.
bool RefusesBestFitFlag(unsigned codePage) {
    switch (codePage) {
    case 42:
    case 50220:
    case 50221:
    case 50222:
    case 50225:
    case 50227:
    case 50229:
    case 52936:
    case 54936:
    case 65000:
    case kCodePageUtf8:
        return true;
    default:
        return codePage >= 57002 && codePage <= 57011;
    }
}

// Hands a finished conversion to the caller: its size when dstLen is 0, all of it when it
// fits, else the first fit units (whole characters) and a failure.
template <typename Unit>
int Deliver(const std::basic_string<Unit>& text, size_t fit, Unit* dst, int dstLen) {
    if (text.size() > static_cast<size_t>(INT_MAX))
        return Fail(ERROR_INVALID_PARAMETER);
    if (dstLen == 0)
        return static_cast<int>(text.size());
    if (text.size() <= static_cast<size_t>(dstLen)) {
        std::memcpy(dst, text.data(), text.size() * sizeof(Unit));
        return static_cast<int>(text.size());
    }
    std::memcpy(dst, text.data(), fit * sizeof(Unit));
    return Fail(ERROR_INSUFFICIENT_BUFFER);
}

bool IsHighSurrogate(WCHAR unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(WCHAR unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Widens the whole source with the system; false (last error set by the system) on failure.
bool SystemDecode(unsigned codePage, uint32_t flags, const char* src, int srcLen,
                  std::wstring* text) {
    const int units = ::MultiByteToWideChar(codePage, flags, src, srcLen, nullptr, 0);
    if (units == 0)
        return false;
    text->resize(static_cast<size_t>(units));
    return ::MultiByteToWideChar(codePage, flags, src, srcLen, text->data(), units) == units;
}

// Narrows n units with the system; false (last error set by the system) on failure.
bool SystemEncode(unsigned codePage, uint32_t flags, const WCHAR* src, int n, std::string* text) {
    const int bytes = ::WideCharToMultiByte(codePage, flags, src, n, nullptr, 0, nullptr, nullptr);
    if (bytes == 0)
        return false;
    text->resize(static_cast<size_t>(bytes));
    return ::WideCharToMultiByte(codePage, flags, src, n, text->data(), bytes, nullptr, nullptr) ==
           bytes;
}

// The bytes of the whole characters of src (n units) that fit in room bytes, each character
// (a unit, or a surrogate pair) narrowed alone.
size_t SystemEncodedFit(unsigned codePage, uint32_t flags, const WCHAR* src, size_t n,
                        size_t room) {
    size_t fit = 0;
    for (size_t i = 0; i < n;) {
        const int units =
            i + 1 < n && IsHighSurrogate(src[i]) && IsLowSurrogate(src[i + 1]) ? 2 : 1;
        const int bytes =
            ::WideCharToMultiByte(codePage, flags, src + i, units, nullptr, 0, nullptr, nullptr);
        if (bytes <= 0 || fit + static_cast<size_t>(bytes) > room)
            break;
        fit += static_cast<size_t>(bytes);
        i += static_cast<size_t>(units);
    }
    return fit;
}

} // namespace

unsigned GetACP() {
    return ::GetACP();
}

int MultiByteToWideChar(unsigned codePage, uint32_t flags, const char* src, int srcLen, WCHAR* dst,
                        int dstLen) {
    if (!ValidArguments(src, srcLen, dst, dstLen))
        return 0;
    const unsigned resolved = Resolve(codePage);
    if (resolved == 0)
        return Fail(ERROR_INVALID_PARAMETER);
    std::wstring text;
    if (resolved == kCodePageUtf8) {
        const size_t size = srcLen == -1 ? std::strlen(src) + 1 : static_cast<size_t>(srcLen);
        if (!detail::DecodeUtf8(std::string_view(src, size), (flags & MB_ERR_INVALID_CHARS) != 0,
                                &text))
            return Fail(ERROR_NO_UNICODE_TRANSLATION);
    } else if (!SystemDecode(resolved, flags, src, srcLen, &text)) {
        return 0;
    }
    size_t fit = static_cast<size_t>(dstLen);
    if (fit < text.size() && fit > 0 && IsHighSurrogate(text[fit - 1]) && IsLowSurrogate(text[fit]))
        --fit; // never half a surrogate pair
    return Deliver(text, fit, dst, dstLen);
}

int WideCharToMultiByte(unsigned codePage, uint32_t flags, const WCHAR* src, int srcLen, char* dst,
                        int dstLen) {
    if (!ValidArguments(src, srcLen, dst, dstLen))
        return 0;
    const unsigned resolved = Resolve(codePage);
    if (resolved == 0)
        return Fail(ERROR_INVALID_PARAMETER);
    const size_t size =
        srcLen == -1 ? std::char_traits<WCHAR>::length(src) + 1 : static_cast<size_t>(srcLen);
    std::string text;
    if (resolved == kCodePageUtf8) {
        std::vector<size_t> ends;
        if (!detail::EncodeUtf8(src, size, (flags & WC_ERR_INVALID_CHARS) != 0, &text, &ends))
            return Fail(ERROR_NO_UNICODE_TRANSLATION);
        size_t fit = 0;
        for (size_t end : ends) {
            if (end > static_cast<size_t>(dstLen))
                break;
            fit = end;
        }
        return Deliver(text, fit, dst, dstLen);
    }
    const uint32_t systemFlags =
        RefusesBestFitFlag(resolved) ? flags : flags | WC_NO_BEST_FIT_CHARS;
    if (!SystemEncode(resolved, systemFlags, src, static_cast<int>(size), &text))
        return 0;
    size_t fit = 0;
    if (dstLen > 0 && text.size() > static_cast<size_t>(dstLen))
        fit = SystemEncodedFit(resolved, systemFlags, src, size, static_cast<size_t>(dstLen));
    return Deliver(text, fit, dst, dstLen);
}

int CompareStringIgnoreCase(const WCHAR* a, int aLen, const WCHAR* b, int bLen) {
    if (a == nullptr || b == nullptr)
        return 0;
    return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a, aLen, b, bLen);
}

} // namespace platform
