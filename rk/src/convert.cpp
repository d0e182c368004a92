#include "rk/convert.h"

#include "platform/codepage.h"
#include "platform/errors.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// The most units one platform conversion is asked to write.
constexpr unsigned kMaxWideRoom = 0x3FFFFFFFu;
constexpr unsigned kMaxNarrowRoom = 0x7FFFFFFFu;

// The source length as the platform takes it: -1 for "up to and including the NUL". A length
// beyond the int range becomes negative, which the platform refuses.
int SourceCount(unsigned srcLen) {
    return srcLen == RK::kWholeString ? -1 : static_cast<int>(srcLen);
}

// Runs convert(dst, room) once and applies the counting rules of rk_str_convert. When the
// text did not fit, dst is cleared and converted again so that what fits ends in NULs.
template <typename Out, typename Convert>
unsigned ConvertInto(Out* dst, unsigned dstLen, unsigned maxRoom, Convert convert) {
    if (dstLen == 0)
        return 0;
    const int room = static_cast<int>(std::min(dstLen, maxRoom));
    const int written = convert(dst, room);
    if (written > 0)
        return static_cast<unsigned>(dst[written - 1] == Out() ? written - 1 : written);
    if (platform::GetLastError() != platform::kErrorInsufficientBuffer)
        return 0;
    std::fill_n(dst, dstLen, Out());
    convert(dst, room);
    return static_cast<unsigned>(std::find(dst, dst + dstLen, Out()) - dst);
}

// Resolves kWholeString to the length before the NUL. False when there is nothing to set.
template <typename T> bool ResolveLength(const T* src, unsigned& len) {
    if (src == nullptr || len == 0)
        return false;
    if (len == RK::kWholeString)
        len = static_cast<unsigned>(std::char_traits<T>::length(src));
    return len != 0;
}

// Replaces dst from pos onwards with len characters of src, padding dst up to pos.
template <typename T>
void SetSameType(RK::CStringT<T>& dst, unsigned pos, const T* src, unsigned len) {
    if (!ResolveLength(src, len))
        return;
    if (dst.size() < pos)
        dst.resize(pos);
    dst.replace(pos, RK::CStringT<T>::npos, src, len);
}

} // namespace

unsigned rk_str_convert(int codePage, WCHAR* dst, unsigned dstLen, const char* src,
                        unsigned srcLen) {
    if (srcLen == 0)
        return 0;
    return ConvertInto(dst, dstLen, kMaxWideRoom, [&](WCHAR* out, int room) {
        return platform::MultiByteToWideChar(static_cast<unsigned>(codePage), 0, src,
                                             SourceCount(srcLen), out, room);
    });
}

unsigned rk_str_convert(int codePage, char* dst, unsigned dstLen, const WCHAR* src,
                        unsigned srcLen) {
    if (srcLen == 0)
        return 0;
    return ConvertInto(dst, dstLen, kMaxNarrowRoom, [&](char* out, int room) {
        return platform::WideCharToMultiByte(static_cast<unsigned>(codePage), 0, src,
                                             SourceCount(srcLen), out, room);
    });
}

unsigned rk_str_convert(int toCodePage, char* dst, unsigned dstLen, int fromCodePage,
                        const char* src, unsigned srcLen) {
    if (src == nullptr || srcLen == 0)
        return 0;
    if (srcLen == RK::kWholeString)
        srcLen = static_cast<unsigned>(std::strlen(src)) + 1;
    // A byte never becomes more than one unit, so srcLen units hold the whole text.
    std::vector<WCHAR> wide(srcLen);
    const unsigned units = rk_str_convert(fromCodePage, wide.data(), srcLen, src, srcLen);
    return rk_str_convert(toCodePage, dst, dstLen, wide.data(), units);
}

namespace RK {

void _cstring_set(CStringT<char>& dst, unsigned pos, const char* src, unsigned len) {
    SetSameType(dst, pos, src, len);
}

void _cstring_set(CStringT<WCHAR>& dst, unsigned pos, const WCHAR* src, unsigned len) {
    SetSameType(dst, pos, src, len);
}

void _cstring_set(CStringT<WCHAR>& dst, unsigned pos, const char* src, unsigned len) {
    if (!ResolveLength(src, len))
        return;
    dst.resize(static_cast<size_t>(pos) + len);
    const unsigned produced =
        rk_str_convert(static_cast<int>(platform::kCodePageAnsi), &dst[pos], len, src, len);
    dst.resize(static_cast<size_t>(pos) + produced);
}

void _cstring_set(CStringT<char>& dst, unsigned pos, const WCHAR* src, unsigned len) {
    if (!ResolveLength(src, len))
        return;
    const unsigned room = 2 * len;
    dst.resize(static_cast<size_t>(pos) + room);
    const unsigned produced =
        rk_str_convert(static_cast<int>(platform::kCodePageAnsi), &dst[pos], room, src, len);
    dst.resize(static_cast<size_t>(pos) + produced);
}

} // namespace RK
