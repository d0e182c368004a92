#include "wide_format.h"

#include "rk/convert.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace RK::detail {
namespace {

using WideText = std::basic_string<WCHAR>;

constexpr int kMaxField = 1 << 20; // the largest width or precision taken

// The argument list being read; a copy of the caller's, so it can be passed around by
// reference whatever va_list is on the platform.
struct Arguments {
    va_list list; // the arguments not read yet
};

// The output, cut at a limit.
class Output {
  public:
    explicit Output(size_t limit) : m_limit(limit) {}

    void Put(WCHAR unit) {
        if (m_text.size() < m_limit)
            m_text.push_back(unit);
    }
    void Put(const WCHAR* units, size_t count) {
        for (size_t i = 0; i < count; ++i)
            Put(units[i]);
    }
    void PutNarrow(const std::string& text) {
        for (char c : text)
            Put(static_cast<WCHAR>(static_cast<unsigned char>(c)));
    }
    void PutRepeated(WCHAR unit, size_t count) {
        for (size_t i = 0; i < count && m_text.size() < m_limit; ++i)
            m_text.push_back(unit);
    }
    WideText Take() { return std::move(m_text); }

  private:
    size_t m_limit;  // the most units kept
    WideText m_text; // what has been written
};

enum class Length { None, Char, Short, Long, LongLong, IntMax, Size, PtrDiff, Int32, Wide, Double };

// One conversion directive ("%" up to its conversion character).
struct Directive {
    bool left = false;            // '-': pad on the right
    bool plus = false;            // '+': always write a sign
    bool space = false;           // ' ': a blank where a plus sign would go
    bool alternate = false;       // '#'
    bool zero = false;            // '0': pad numbers with zeros
    int width = 0;                // the least number of units
    int precision = -1;           // -1 when not given
    Length length = Length::None; // the size modifier
    WCHAR conversion = 0;         // the conversion character
};

bool IsDigit(WCHAR c) {
    return c >= WCHAR('0') && c <= WCHAR('9');
}

int ReadNumber(const WCHAR*& p) {
    int value = 0;
    for (; IsDigit(*p); ++p)
        value = value >= kMaxField ? kMaxField : value * 10 + static_cast<int>(*p - WCHAR('0'));
    return value > kMaxField ? kMaxField : value;
}

bool Starts(const WCHAR* p, const char* text) {
    for (; *text != '\0'; ++p, ++text) {
        if (*p != static_cast<WCHAR>(*text))
            return false;
    }
    return true;
}

// Reads the flags, width, precision and length of the directive after '%'.
void ReadDirective(const WCHAR*& p, Arguments& args, Directive& directive) {
    for (;; ++p) {
        if (*p == WCHAR('-'))
            directive.left = true;
        else if (*p == WCHAR('+'))
            directive.plus = true;
        else if (*p == WCHAR(' '))
            directive.space = true;
        else if (*p == WCHAR('#'))
            directive.alternate = true;
        else if (*p == WCHAR('0'))
            directive.zero = true;
        else
            break;
    }
    if (*p == WCHAR('*')) {
        ++p;
        const int width = va_arg(args.list, int);
        directive.left = directive.left || width < 0;
        directive.width = width < 0 ? (width < -kMaxField ? kMaxField : -width)
                                    : (width > kMaxField ? kMaxField : width);
    } else {
        directive.width = ReadNumber(p);
    }
    if (*p == WCHAR('.')) {
        ++p;
        if (*p == WCHAR('*')) {
            ++p;
            const int precision = va_arg(args.list, int);
            directive.precision = precision < 0           ? -1
                                  : precision > kMaxField ? kMaxField
                                                          : precision;
        } else {
            directive.precision = ReadNumber(p);
        }
    }
    static const struct {
        const char* text; // the modifier as written
        Length length;    // what it stands for
    } kModifiers[] = {{"hh", Length::Char},   {"h", Length::Short},   {"ll", Length::LongLong},
                      {"l", Length::Long},    {"L", Length::Double},  {"j", Length::IntMax},
                      {"z", Length::Size},    {"t", Length::PtrDiff}, {"I64", Length::LongLong},
                      {"I32", Length::Int32}, {"I", Length::Size},    {"w", Length::Wide}};
    for (const auto& modifier : kModifiers) {
        if (Starts(p, modifier.text)) {
            directive.length = modifier.length;
            p += std::strlen(modifier.text);
            break;
        }
    }
    directive.conversion = *p;
}

// Writes body padded to the width: blanks on the left or right, or zeros after the prefix.
void PutPadded(Output& out, const Directive& directive, const std::string& prefix,
               const WideText& body, bool zeroPad) {
    const size_t used = prefix.size() + body.size();
    const size_t pad = static_cast<size_t>(directive.width) > used ? directive.width - used : 0;
    if (!directive.left && !zeroPad)
        out.PutRepeated(WCHAR(' '), pad);
    out.PutNarrow(prefix);
    if (!directive.left && zeroPad)
        out.PutRepeated(WCHAR('0'), pad);
    out.Put(body.data(), body.size());
    if (directive.left)
        out.PutRepeated(WCHAR(' '), pad);
}

WideText Widen(const std::string& text) {
    return WideText(text.begin(), text.end());
}

int64_t ReadSigned(Arguments& args, Length length) {
    switch (length) {
    case Length::Char:
        return static_cast<signed char>(va_arg(args.list, int));
    case Length::Short:
        return static_cast<short>(va_arg(args.list, int));
    case Length::Long:
        return va_arg(args.list, long);
    case Length::LongLong:
        return va_arg(args.list, long long);
    case Length::IntMax:
        return va_arg(args.list, intmax_t);
    case Length::Size:
    case Length::PtrDiff:
        return va_arg(args.list, ptrdiff_t);
    default:
        return va_arg(args.list, int);
    }
}

uint64_t ReadUnsigned(Arguments& args, Length length) {
    switch (length) {
    case Length::Char:
        return static_cast<unsigned char>(va_arg(args.list, unsigned));
    case Length::Short:
        return static_cast<unsigned short>(va_arg(args.list, unsigned));
    case Length::Long:
        return va_arg(args.list, unsigned long);
    case Length::LongLong:
        return va_arg(args.list, unsigned long long);
    case Length::IntMax:
        return va_arg(args.list, uintmax_t);
    case Length::Size:
    case Length::PtrDiff:
        return va_arg(args.list, size_t);
    default:
        return va_arg(args.list, unsigned);
    }
}

// The digits of value in base, at least precision of them (none for 0 with precision 0).
std::string Digits(uint64_t value, unsigned base, bool upper, int precision) {
    const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string text;
    for (; value != 0; value /= base)
        text.insert(text.begin(), digits[value % base]);
    const size_t least = precision < 0 ? 1 : static_cast<size_t>(precision);
    if (text.size() < least)
        text.insert(0, least - text.size(), '0');
    return text;
}

std::string SignPrefix(bool negative, const Directive& directive) {
    return negative ? "-" : directive.plus ? "+" : directive.space ? " " : "";
}

void PutInteger(Output& out, Arguments& args, const Directive& directive) {
    const WCHAR c = directive.conversion;
    const bool zeroPad = directive.zero && directive.precision < 0;
    if (c == WCHAR('d') || c == WCHAR('i')) {
        const int64_t value = ReadSigned(args, directive.length);
        const uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : value;
        PutPadded(out, directive, SignPrefix(value < 0, directive),
                  Widen(Digits(magnitude, 10, false, directive.precision)), zeroPad);
        return;
    }
    const uint64_t value = ReadUnsigned(args, directive.length);
    const bool upper = c == WCHAR('X');
    const unsigned base = c == WCHAR('o') ? 8 : c == WCHAR('u') ? 10 : 16;
    std::string digits = Digits(value, base, upper, directive.precision);
    std::string prefix;
    if (directive.alternate && base == 8 && (digits.empty() || digits[0] != '0'))
        digits.insert(0, 1, '0');
    if (directive.alternate && base == 16 && value != 0)
        prefix = upper ? "0X" : "0x";
    PutPadded(out, directive, prefix, Widen(digits), zeroPad);
}

void PutPointer(Output& out, Arguments& args, const Directive& directive) {
    const auto value = reinterpret_cast<uintptr_t>(va_arg(args.list, void*));
    PutPadded(out, directive, "",
              Widen(Digits(value, 16, true, static_cast<int>(2 * sizeof(void*)))), false);
}

// Formats magnitude (not negative) with one of the C runtime's fixed formats.
std::string FormatMagnitude(double magnitude, WCHAR conversion, bool alternate, int precision) {
    char text[1024]; // room for the largest double in %f form with 300 decimals
    int length = -1;
    const int digits = precision < 0 ? 6 : precision;
    switch (static_cast<char>(conversion)) {
    case 'e':
        length = alternate ? std::snprintf(text, sizeof text, "%#.*e", digits, magnitude)
                           : std::snprintf(text, sizeof text, "%.*e", digits, magnitude);
        break;
    case 'E':
        length = alternate ? std::snprintf(text, sizeof text, "%#.*E", digits, magnitude)
                           : std::snprintf(text, sizeof text, "%.*E", digits, magnitude);
        break;
    case 'f':
        length = alternate ? std::snprintf(text, sizeof text, "%#.*f", digits, magnitude)
                           : std::snprintf(text, sizeof text, "%.*f", digits, magnitude);
        break;
    case 'F':
        length = alternate ? std::snprintf(text, sizeof text, "%#.*F", digits, magnitude)
                           : std::snprintf(text, sizeof text, "%.*F", digits, magnitude);
        break;
    case 'g':
        length = alternate ? std::snprintf(text, sizeof text, "%#.*g", digits, magnitude)
                           : std::snprintf(text, sizeof text, "%.*g", digits, magnitude);
        break;
    case 'G':
        length = alternate ? std::snprintf(text, sizeof text, "%#.*G", digits, magnitude)
                           : std::snprintf(text, sizeof text, "%.*G", digits, magnitude);
        break;
    case 'a':
        length = precision < 0 ? std::snprintf(text, sizeof text, "%a", magnitude)
                               : std::snprintf(text, sizeof text, "%.*a", precision, magnitude);
        break;
    default:
        length = precision < 0 ? std::snprintf(text, sizeof text, "%A", magnitude)
                               : std::snprintf(text, sizeof text, "%.*A", precision, magnitude);
        break;
    }
    if (length < 0)
        return std::string();
    return std::string(text, static_cast<size_t>(length) < sizeof text ? length : sizeof text - 1);
}

void PutFloat(Output& out, Arguments& args, const Directive& directive) {
    const double value = directive.length == Length::Double
                             ? static_cast<double>(va_arg(args.list, long double))
                             : va_arg(args.list, double);
    const bool finite = std::isfinite(value);
    std::string text;
    if (std::isnan(value)) {
        text = "nan";
    } else if (!finite) {
        text = "inf";
    } else {
        // Precisions are cut to 300 digits, well beyond the digits a double holds.
        const int precision = directive.precision > 300 ? 300 : directive.precision;
        text =
            FormatMagnitude(std::fabs(value), directive.conversion, directive.alternate, precision);
    }
    const WCHAR c = directive.conversion;
    if (c == WCHAR('E') || c == WCHAR('F') || c == WCHAR('G') || c == WCHAR('A')) {
        for (char& ch : text)
            ch = static_cast<char>(ch >= 'a' && ch <= 'z' ? ch - 'a' + 'A' : ch);
    }
    PutPadded(out, directive, SignPrefix(std::signbit(value) && !std::isnan(value), directive),
              Widen(text), directive.zero && finite);
}

// Narrow text in the ANSI code page, widened; at most precision bytes of it.
WideText WidenAnsi(const char* text, int precision) {
    size_t length = 0;
    while (text[length] != '\0' && (precision < 0 || length < static_cast<size_t>(precision)))
        ++length;
    WideText wide;
    _cstring_set(wide, 0, text, static_cast<unsigned>(length));
    return wide;
}

bool NarrowArgument(const Directive& directive) {
    const bool upperCase = directive.conversion == WCHAR('S') || directive.conversion == WCHAR('C');
    return directive.length == Length::Short ||
           (upperCase && directive.length != Length::Long && directive.length != Length::Wide);
}

void PutString(Output& out, Arguments& args, const Directive& directive) {
    WideText text;
    if (NarrowArgument(directive)) {
        const char* narrow = va_arg(args.list, const char*);
        text = WidenAnsi(narrow != nullptr ? narrow : "(null)", directive.precision);
    } else {
        const WCHAR* wide = va_arg(args.list, const WCHAR*);
        if (wide == nullptr)
            wide = KORVO_W("(null)");
        for (size_t i = 0; wide[i] != 0 && (directive.precision < 0 ||
                                            i < static_cast<size_t>(directive.precision));
             ++i)
            text.push_back(wide[i]);
    }
    PutPadded(out, directive, "", text, false);
}

void PutCharacter(Output& out, Arguments& args, const Directive& directive) {
    WideText text;
    if (NarrowArgument(directive)) {
        const char narrow[2] = {static_cast<char>(va_arg(args.list, int)), '\0'};
        text = narrow[0] == '\0' ? WideText(1, WCHAR()) : WidenAnsi(narrow, 1);
    } else {
        text.push_back(static_cast<WCHAR>(va_arg(args.list, int)));
    }
    PutPadded(out, directive, "", text, false);
}

// Writes one conversion; false when the conversion character is not known.
bool PutConversion(Output& out, Arguments& args, const Directive& directive) {
    switch (static_cast<char>(directive.conversion)) {
    case 'd':
    case 'i':
    case 'u':
    case 'o':
    case 'x':
    case 'X':
        PutInteger(out, args, directive);
        return true;
    case 'e':
    case 'E':
    case 'f':
    case 'F':
    case 'g':
    case 'G':
    case 'a':
    case 'A':
        PutFloat(out, args, directive);
        return true;
    case 's':
    case 'S':
        PutString(out, args, directive);
        return true;
    case 'c':
    case 'C':
        PutCharacter(out, args, directive);
        return true;
    case 'p':
        PutPointer(out, args, directive);
        return true;
    case 'n':
        static_cast<void>(va_arg(args.list, void*));
        return true;
    default:
        return false;
    }
}

} // namespace

WideText FormatWide(const WCHAR* format, va_list args, size_t limit) {
    Output out(limit);
    Arguments arguments;
    va_copy(arguments.list, args);
    for (const WCHAR* p = format; *p != 0;) {
        if (*p != WCHAR('%')) {
            out.Put(*p++);
            continue;
        }
        const WCHAR* start = p++;
        if (*p == WCHAR('%')) {
            out.Put(*p++);
            continue;
        }
        Directive directive;
        ReadDirective(p, arguments, directive);
        // A conversion character above 0xFF is unknown; one that is not there ends the format.
        const bool known = directive.conversion < 0x100 && PutConversion(out, arguments, directive);
        if (*p != 0)
            ++p;
        if (!known)
            out.Put(start, static_cast<size_t>(p - start));
    }
    va_end(arguments.list);
    return out.Take();
}

} // namespace RK::detail
