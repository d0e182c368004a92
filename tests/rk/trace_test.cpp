// The toolkit's trace sink: standard output shows what the wide formatter writes; the other
// modes are checked through a file, standard error (the debugger outside Windows) and a
// target object.
#include "toolkit_support.h"

#include "rk/convert.h"
#include "rk/fs.h"
#include "rk/trace.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <functional>
#include <string>

namespace {

void TraceW(const WCHAR* format, ...) {
    va_list args;
    va_start(args, format);
    rk_vtrace_w(format, args);
    va_end(args);
}

[[gnu::format(printf, 1, 2)]] void TraceA(const char* format, ...) {
    va_list args;
    va_start(args, format);
    rk_vtrace_a(format, args);
    va_end(args);
}

// Traces and the text they write; format sends them.
struct FormatRow {
    const char* name;             // names the row in failures
    std::string expected;         // the text written
    std::function<void()> format; // sends the traces
};

const WCHAR kWide[] = {WCHAR('w'), WCHAR('i'), WCHAR(0xE9), 0};

const FormatRow kFormatRows[] = {
    {"NarrowTextIsNotAFormatAgain", "100%d %s", [] { TraceA("%s", "100%d %s"); }},
    {"NarrowTextIsCutAt2047Characters", std::string(2047, 'x'),
     [] { TraceA("%s", std::string(3000, 'x').c_str()); }},
    {"SignedIntegers", "-42|+7| 7|   42|42   |-0042|007",
     [] { TraceW(W("%d|%+d|% d|%5d|%-5d|%05d|%.3i").c_str(), -42, 7, 7, 42, 42, -42, 7); }},
    {"UnsignedIntegers", "4294967295|ff|FF|0xff|17|017|0",
     [] { TraceW(W("%u|%x|%X|%#x|%o|%#o|%#x").c_str(), 4294967295u, 255, 255, 255, 15, 15, 0); }},
    {"LengthModifiers", "-9000000000|-9000000000|-1|255|12345",
     [] {
         TraceW(W("%lld|%I64d|%hd|%hhu|%zu").c_str(), -9000000000LL, -9000000000LL, 65535, 511,
                static_cast<size_t>(12345));
     }},
    {"WideAndNarrowStrings", "wi\xE9|wi\xE9|na\xE9|na\xE9|wi|   wi\xE9|wi\xE9   |",
     [] {
         TraceW(W("%s|%ls|%hs|%S|%.2s|%6s|%-6s|").c_str(), kWide, kWide, "na\xE9", "na\xE9", kWide,
                kWide, kWide);
     }},
    {"NullStrings", "(null)|(null)",
     [] {
         TraceW(W("%s|%hs").c_str(), static_cast<const WCHAR*>(nullptr),
                static_cast<const char*>(nullptr));
     }},
    {"Characters", "\xE9xy  |z",
     [] { TraceW(W("%c%hc%C%-2c|%wc").c_str(), 0xE9, 'x', 'y', ' ', 'z'); }},
    {"FloatingPoint", "3.142|1.500000e+02|0.0001|      2.50|-1.0E+03|+0.5|1e+100",
     [] {
         TraceW(W("%.3f|%e|%g|%10.2f|%-8.1E|%+.1f|%g").c_str(), 3.14159, 150.0, 0.0001, 2.5,
                -1000.0, 0.5, 1e100);
     }},
    {"ZeroPaddedNegative", "-003.5|inf|-INF",
     [] { TraceW(W("%06.1f|%f|%F").c_str(), -3.5, HUGE_VAL, -HUGE_VAL); }},
    {"StarWidthAndPrecision", "  3.14|ab   |",
     [] { TraceW(W("%*.*f|%-*s|").c_str(), 6, 2, 3.14159, 5, W("ab").c_str()); }},
    {"PointerWithAllItsDigits", std::string(2 * sizeof(void*) - 3, '0') + "ABC",
     [] { TraceW(W("%p").c_str(), reinterpret_cast<void*>(uintptr_t{0xABC})); }},
    {"PercentAndUnknown", "100%|%y|%", [] { TraceW(W("100%%|%y|%").c_str()); }},
};

// Through standard output, which adds no line ends.
TEST(TraceFormats, WriteTheExpectedText) {
    rk_set_trace(2, nullptr, 0);
    for (const FormatRow& row : kFormatRows) {
        testing::internal::CaptureStdout();
        row.format();
        EXPECT_EQ(testing::internal::GetCapturedStdout(), row.expected) << row.name;
    }
    rk_set_trace(0, nullptr, 0);
}

// A mode-3 target that keeps the format it was handed and the arguments: text for "%ls",
// two integers otherwise.
class Target final : public RK::ITraceTarget {
  public:
    void VTrace(const WCHAR* format, va_list args) override {
        m_format = Narrow(format);
        if (m_format == "%ls") {
            m_arguments = Narrow(va_arg(args, const WCHAR*));
        } else {
            const int first = va_arg(args, int);
            m_arguments = std::to_string(first) + " " + std::to_string(va_arg(args, int));
        }
    }

    std::string m_format;    // the format received
    std::string m_arguments; // its arguments
};

TEST(TraceTarget, ReceivesFormatAndArguments) {
    Target target;
    RK::ITraceTarget* sink = &target;
    EXPECT_EQ(rk_set_trace(3, sink, 7), 0);
    TraceW(W("%d-%d").c_str(), 3, 4);
    EXPECT_EQ(target.m_format, "%d-%d");
    EXPECT_EQ(target.m_arguments, "3 4");
    TraceA("n=%d%%", 5);
    EXPECT_EQ(target.m_format, "%ls");
    EXPECT_EQ(target.m_arguments, "n=5%");
    EXPECT_EQ(rk_set_trace(3, nullptr, 0), 3);
    TraceW(W("ignored").c_str());
    EXPECT_EQ(rk_set_trace(0, nullptr, 0), 3);
}

using TraceSinks = TempTree;

// The file mode appends each text as a line; the debugger output, standard error outside
// Windows, cuts each text at 2047 characters and ends it with a line.
TEST_F(TraceSinks, FileAndDebuggerOutput) {
    std::string file; // the path in the ANSI code page
    RK::_cstring_set(file, 0, Path("trace.log").c_str(), RK::kWholeString);
    rk_set_trace(1, file.data(), 0);
    TraceW(W("one %d").c_str(), 1);
    TraceA("two %s", "2");
    rk_set_trace(0, nullptr, 0);
    std::string lines;
    rk_fs_read(Path("trace.log").c_str(), lines);
    EXPECT_EQ(lines, "one 1\ntwo 2\n");
#ifndef _WIN32
    testing::internal::CaptureStderr();
    TraceW(W("x%d").c_str(), 1);
    TraceW(W("%s").c_str(), WText(3000, WCHAR('y')).c_str());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "x1\n" + std::string(2047, 'y') + "\n");
#endif
}

} // namespace
