// Number parsing and the hexadecimal dump of the toolkit on any text. For rk_str_tol and
// rk_str_tod the first byte picks the base (0 to 37, so the refused bases 1 and 37 come up
// too), the second where a bounded parse is cut; the rest is the text. Checked: the wide
// forms read the same characters as the narrow ones do; a text bounded by end reads as the
// same text NUL-terminated; integers of up to 9 decimal or 8 hexadecimal digits read as
// strtol reads them; decimals of up to 15 digits whose exponent keeps them exact read to the
// bit as strtod reads them. RK::CHexString dumps the whole input: every row has its layout,
// and its address and byte fields read back with rk_str_tol in base 16 give the row's address
// and the input's bytes.
#include "rk/hexdump.h"
#include "rk/numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace {

using WideText = std::basic_string<WCHAR>;

// What one parse gave: how far it read and the value it stored.
struct Parsed {
    size_t integerEnd; // characters up to the pointer rk_str_tol returned
    size_t decimalEnd; // characters up to the pointer rk_str_tod returned
    long integer;      // rk_str_tol's value; kUntouched when it stored none
    double decimal;    // rk_str_tod's value; NaN when it stored none
};

constexpr long kUntouched = std::numeric_limits<long>::min();

void Require(bool condition) {
    if (!condition)
        std::abort();
}

template <typename T> Parsed Parse(const T* text, const T* end, int base) {
    Parsed parsed{0, 0, kUntouched, std::numeric_limits<double>::quiet_NaN()};
    const T* afterLong = rk_str_tol(text, end, parsed.integer, base);
    const T* afterDouble = rk_str_tod(text, end, parsed.decimal);
    Require(afterLong >= text && afterDouble >= text);
    parsed.integerEnd = static_cast<size_t>(afterLong - text);
    parsed.decimalEnd = static_cast<size_t>(afterDouble - text);
    return parsed;
}

bool Same(const Parsed& a, const Parsed& b) {
    return a.integerEnd == b.integerEnd && a.decimalEnd == b.decimalEnd && a.integer == b.integer &&
           std::memcmp(&a.decimal, &b.decimal, sizeof a.decimal) == 0;
}

WideText Widen(const std::string& text) {
    WideText wide;
    for (char c : text)
        wide.push_back(static_cast<WCHAR>(static_cast<unsigned char>(c)));
    return wide;
}

bool IsParserBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Position after the blanks and the sign the parsers skip.
size_t SkipLead(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && IsParserBlank(text[i]))
        ++i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    return i;
}

// Compares an integer that rk_str_tol read (the first consumed characters of text) with
// strtol when the digits fit 32 bits and there is no "0x" prefix strtol would read otherwise.
void CheckAgainstStrtol(const std::string& text, size_t consumed, long value, int base) {
    if (value == kUntouched || (base != 10 && base != 16))
        return;
    const std::string number = text.substr(0, consumed);
    const size_t digits = SkipLead(number);
    if (number.compare(digits, 2, "0x") == 0 || number.compare(digits, 2, "0X") == 0)
        return;
    if (number.size() - digits > (base == 10 ? 9u : 8u))
        return;
    char* stop = nullptr;
    const long expected = std::strtol(number.c_str(), &stop, base);
    Require(static_cast<size_t>(stop - number.c_str()) == consumed &&
            static_cast<int32_t>(static_cast<uint32_t>(expected)) == value);
}

// Compares a decimal that rk_str_tod read with strtod when its mantissa and the power of ten
// it is scaled by are both exact doubles, so that one rounding gives the result.
void CheckAgainstStrtod(const std::string& text, size_t consumed, double value) {
    if (std::isnan(value))
        return;
    const std::string number = text.substr(0, consumed);
    size_t i = SkipLead(number);
    int digits = 0;
    long long exponent = 0;
    for (bool point = false; i < number.size(); ++i) {
        if (number[i] == '.' && !point) {
            point = true;
        } else if (number[i] >= '0' && number[i] <= '9') {
            ++digits;
            exponent -= point ? 1 : 0;
        } else {
            break;
        }
    }
    if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
        ++i;
        const bool negative = i < number.size() && number[i] == '-';
        if (i < number.size() && (number[i] == '-' || number[i] == '+'))
            ++i;
        long long written = 0;
        for (; i < number.size() && written < 1000; ++i)
            written = written * 10 + (number[i] - '0');
        exponent += negative ? -written : written;
    }
    if (digits > 15 || exponent < -22 || exponent > 22)
        return;
    const double expected = std::strtod(number.c_str(), nullptr);
    Require(std::memcmp(&expected, &value, sizeof value) == 0);
}

constexpr size_t kRowBytes = 16;
constexpr size_t kTextColumn = 62; // where a row shows its bytes as characters

// Reads a field of hexadecimal digits that must be all digits.
uint32_t HexField(const char* field, size_t digits) {
    long value = kUntouched;
    Require(rk_str_tol(field, field + digits, value, 16) == field + digits);
    return static_cast<uint32_t>(value);
}

void CheckHexDump(const uint8_t* data, size_t size) {
    RK::CHexString dump(data, static_cast<unsigned>(size));
    const char* row = dump;
    Require(row != nullptr);
    for (size_t offset = 0; offset < size; offset += kRowBytes) {
        const size_t count = std::min(kRowBytes, size - offset);
        const char* end = std::strchr(row + kTextColumn, '\n');
        Require(end != nullptr && static_cast<size_t>(end - row) == kTextColumn + count);
        Require(HexField(row, 8) ==
                static_cast<uint32_t>(reinterpret_cast<uintptr_t>(data + offset)));
        Require(std::strncmp(row + 8, " : ", 3) == 0);
        for (size_t i = 0; i < kRowBytes; ++i) {
            const char* field = row + 11 + 3 * i;
            if (i < count)
                Require(HexField(field, 2) == data[offset + i] && field[2] == ' ');
            else
                Require(std::strncmp(field, "   ", 3) == 0);
        }
        Require(std::strncmp(row + 11 + 3 * kRowBytes, "   ", kTextColumn - 11 - 3 * kRowBytes) ==
                0);
        for (size_t i = 0; i < count; ++i) {
            const uint8_t byte = data[offset + i];
            Require(row[kTextColumn + i] ==
                    (byte == 0 || byte == '\n' ? ' ' : static_cast<char>(byte)));
        }
        row = end + 1;
    }
    Require(*row == '\0');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckHexDump(data, size);
    if (size < 2)
        return 0;
    const int base = data[0] % 38;
    const std::string text(reinterpret_cast<const char*>(data) + 2, size - 2);
    const size_t cut = data[1] % (text.size() + 1);

    const std::string terminated(text.c_str());
    const Parsed bounded = Parse(text.data(), text.data() + text.size(), base);
    Require(Same(bounded, Parse(terminated.c_str(), static_cast<const char*>(nullptr), base)));
    const WideText wide = Widen(text);
    Require(Same(bounded, Parse(wide.data(), wide.data() + wide.size(), base)));

    const std::string head = text.substr(0, cut);
    const std::string headTerminated(head.c_str());
    const Parsed cutParse = Parse(text.data(), text.data() + cut, base);
    Require(Same(cutParse, Parse(headTerminated.c_str(), static_cast<const char*>(nullptr), base)));

    CheckAgainstStrtol(terminated, bounded.integerEnd, bounded.integer, base);
    CheckAgainstStrtod(terminated, bounded.decimalEnd, bounded.decimal);
    return 0;
}
