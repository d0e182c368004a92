#include "case_fold.h"

#include "platform/codepage.h"

#include <algorithm>
#include <string>

namespace platform {
namespace detail {
namespace {

// A run of upper-case units that fold by adding delta.
struct CaseRange {
    WCHAR first;    // the run's first unit
    WCHAR last;     // the run's last unit
    int delta;      // lower-case unit minus upper-case unit
    bool alternate; // only every second unit from first folds (upper/lower pairs)
};

// Sorted by first; runs do not overlap.
constexpr CaseRange kRanges[] = {
    {0x0041, 0x005A, 32, false},    {0x00C0, 0x00D6, 32, false},    {0x00D8, 0x00DE, 32, false},
    {0x0100, 0x012F, 1, true},      {0x0132, 0x0137, 1, true},      {0x0139, 0x0148, 1, true},
    {0x014A, 0x0177, 1, true},      {0x0178, 0x0178, -121, false},  {0x0179, 0x017E, 1, true},
    {0x01CD, 0x01DC, 1, true},      {0x01DE, 0x01EF, 1, true},      {0x01F8, 0x021F, 1, true},
    {0x0222, 0x0233, 1, true},      {0x0246, 0x024F, 1, true},      {0x0370, 0x0373, 1, true},
    {0x0376, 0x0376, 1, false},     {0x037F, 0x037F, 116, false},   {0x0386, 0x0386, 38, false},
    {0x0388, 0x038A, 37, false},    {0x038C, 0x038C, 64, false},    {0x038E, 0x038F, 63, false},
    {0x0391, 0x03A1, 32, false},    {0x03A3, 0x03AB, 32, false},    {0x03CF, 0x03CF, 8, false},
    {0x03D8, 0x03EF, 1, true},      {0x03F4, 0x03F4, -60, false},   {0x03F7, 0x03F7, 1, false},
    {0x03F9, 0x03F9, -7, false},    {0x03FA, 0x03FA, 1, false},     {0x03FD, 0x03FF, -130, false},
    {0x0400, 0x040F, 80, false},    {0x0410, 0x042F, 32, false},    {0x0460, 0x0481, 1, true},
    {0x048A, 0x04BF, 1, true},      {0x04C0, 0x04C0, 15, false},    {0x04C1, 0x04CE, 1, true},
    {0x04D0, 0x052F, 1, true},      {0x0531, 0x0556, 48, false},    {0x1E00, 0x1E95, 1, true},
    {0x1E9E, 0x1E9E, -7615, false}, {0x1EA0, 0x1EFF, 1, true},      {0x2126, 0x2126, -7517, false},
    {0x212A, 0x212A, -8383, false}, {0x212B, 0x212B, -8262, false}, {0x2160, 0x216F, 16, false},
    {0x24B6, 0x24CF, 26, false},    {0xFF21, 0xFF3A, 32, false},
};

} // namespace

WCHAR FoldCase(WCHAR unit) {
    const auto next = std::upper_bound(std::begin(kRanges), std::end(kRanges), unit,
                                       [](WCHAR u, const CaseRange& r) { return u < r.first; });
    if (next == std::begin(kRanges))
        return unit;
    const CaseRange& range = *(next - 1);
    if (unit > range.last || (range.alternate && (unit - range.first) % 2 != 0))
        return unit;
    return static_cast<WCHAR>(unit + range.delta);
}

} // namespace detail

int CompareStringIgnoreCase(const WCHAR* a, int aLen, const WCHAR* b, int bLen) {
    if (a == nullptr || b == nullptr || aLen < -1 || bLen < -1)
        return 0;
    const size_t aSize = aLen == -1 ? std::char_traits<WCHAR>::length(a) : size_t(aLen);
    const size_t bSize = bLen == -1 ? std::char_traits<WCHAR>::length(b) : size_t(bLen);
    for (size_t i = 0; i < aSize && i < bSize; ++i) {
        const WCHAR x = detail::FoldCase(a[i]);
        const WCHAR y = detail::FoldCase(b[i]);
        if (x != y)
            return x < y ? 1 : 3;
    }
    if (aSize == bSize)
        return 2;
    return aSize < bSize ? 1 : 3;
}

} // namespace platform
