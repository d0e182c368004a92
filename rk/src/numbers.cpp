// Integer and decimal number parsing.
#include "rk/numbers.h"

#include "text_walk.h"

#include <cstdint>
#include <limits>

namespace {

using RK::detail::Before;

// Exponents beyond this magnitude all give the same result; keeps the sums in range.
constexpr int64_t kExponentCap = 1000000000;
// The effective exponents that are scaled; outside them the result is infinite or zero.
constexpr int64_t kMinExponent = -1021;
constexpr int64_t kMaxExponent = 1024;
// The largest power of ten taken in one step, so that each step stays finite.
constexpr unsigned kMaxStep = 300;

template <typename T> bool IsBlank(T c) {
    return c == T(' ') || c == T('\t') || c == T('\r') || c == T('\n');
}

template <typename T> bool IsDecimalDigit(T c) {
    return c >= T('0') && c <= T('9');
}

// The value of c as a digit of any base up to 36, or -1.
template <typename T> int DigitValue(T c) {
    if (IsDecimalDigit(c))
        return static_cast<int>(c - T('0'));
    if (c >= T('a') && c <= T('z'))
        return static_cast<int>(c - T('a')) + 10;
    if (c >= T('A') && c <= T('Z'))
        return static_cast<int>(c - T('A')) + 10;
    return -1;
}

// Moves p past blanks and a sign; true for '-'.
template <typename T> bool SkipBlanksAndSign(const T*& p, const T* end) {
    while (Before(p, end) && IsBlank(*p))
        ++p;
    if (!Before(p, end) || (*p != T('-') && *p != T('+')))
        return false;
    return *p++ == T('-');
}

template <typename T> const T* ParseLong(const T* s, const T* end, long& value, int base) {
    if (s == nullptr || base == 1 || base < 0 || base > 36)
        return s;
    const T* p = s;
    const bool negative = SkipBlanksAndSign(p, end);
    const bool hexPrefix =
        (end == nullptr || end - p >= 2) && p[0] == T('0') && (p[1] == T('x') || p[1] == T('X'));
    if (base == 0)
        base = hexPrefix ? 16 : Before(p, end) && *p == T('0') ? 8 : 10;
    if (hexPrefix)
        p += 2;
    if (!Before(p, end))
        return s;
    const T* digits = p;
    uint32_t sum = 0;
    for (; Before(p, end); ++p) {
        const int digit = DigitValue(*p);
        if (digit < 0 || digit >= base)
            break;
        sum = sum * static_cast<uint32_t>(base) + static_cast<uint32_t>(digit);
    }
    if (p == digits)
        return s;
    if (negative)
        sum = 0u - sum;
    value = static_cast<long>(static_cast<int32_t>(sum));
    return p;
}

// Ten to the power n, by repeated squaring.
double PowerOfTen(unsigned n) {
    double result = 1.0;
    double square = 10.0;
    for (; n != 0; n >>= 1) {
        if ((n & 1) != 0)
            result *= square;
        square *= square;
    }
    return result;
}

// mantissa times ten to the power exponent.
double Scale(double mantissa, int64_t exponent) {
    if (mantissa == 0.0)
        return 0.0;
    if (exponent > kMaxExponent)
        return std::numeric_limits<double>::infinity();
    if (exponent < kMinExponent)
        return 0.0;
    if (exponent >= 0)
        return mantissa * PowerOfTen(static_cast<unsigned>(exponent));
    // Divided in steps, so that results near the smallest numbers are not lost to an
    // infinite divisor.
    auto remaining = static_cast<unsigned>(-exponent);
    for (; remaining > kMaxStep; remaining -= kMaxStep)
        mantissa /= PowerOfTen(kMaxStep);
    return mantissa / PowerOfTen(remaining);
}

template <typename T> const T* ParseDouble(const T* s, const T* end, double& value) {
    if (s == nullptr)
        return nullptr;
    const T* p = s;
    const bool negative = SkipBlanksAndSign(p, end);
    if (!Before(p, end))
        return p;
    double mantissa = 0.0;
    int64_t fractionDigits = 0;
    bool point = false;
    bool anyDigit = false;
    for (; Before(p, end); ++p) {
        if (*p == T('.') && !point) {
            point = true;
            continue;
        }
        if (!IsDecimalDigit(*p))
            break;
        mantissa = mantissa * 10.0 + static_cast<double>(*p - T('0'));
        anyDigit = true;
        if (point)
            ++fractionDigits;
    }
    if (!anyDigit)
        return p;
    int64_t exponent = 0;
    if (Before(p, end) && (*p == T('e') || *p == T('E'))) {
        ++p;
        bool negativeExponent = false;
        if (Before(p, end) && (*p == T('+') || *p == T('-')))
            negativeExponent = *p++ == T('-');
        for (; Before(p, end) && IsDecimalDigit(*p); ++p) {
            if (exponent < kExponentCap)
                exponent = exponent * 10 + (*p - T('0'));
        }
        if (negativeExponent)
            exponent = -exponent;
    }
    const double magnitude = Scale(mantissa, exponent - fractionDigits);
    value = negative ? -magnitude : magnitude;
    return p;
}

} // namespace

const char* rk_str_tol(const char* s, const char* end, long& value, int base) {
    return ParseLong(s, end, value, base);
}

const WCHAR* rk_str_tol(const WCHAR* s, const WCHAR* end, long& value, int base) {
    return ParseLong(s, end, value, base);
}

const char* rk_str_tod(const char* s, const char* end, double& value) {
    return ParseDouble(s, end, value);
}

const WCHAR* rk_str_tod(const WCHAR* s, const WCHAR* end, double& value) {
    return ParseDouble(s, end, value);
}
