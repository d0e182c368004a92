#include "trace_format.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <string>

namespace {

[[gnu::format(printf, 1, 2)]] std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string message = host::FormatTraceMessage(format, args);
    va_end(args);
    return message;
}

TEST(TraceFormatTest, FormatsTheMessageLikePrintf) {
    EXPECT_EQ(Format("initType[%d] %s %X", 2, "ok", 0xBEEFu), "initType[2] ok BEEF");
    EXPECT_EQ(Format("%s", std::string(5000, 'x').c_str()), std::string(5000, 'x'));
    EXPECT_EQ(Format("%s", ""), "");
}

TEST(TraceFormatTest, WritesOneTabSeparatedLine) {
    EXPECT_EQ(host::TraceLine(0, "notesctrl.cpp", 42, "CNotesCtrl::ListAppointment",
                              "Must init Notes in first!!"),
              "L0\tnotesctrl.cpp:42\tCNotesCtrl::ListAppointment\tMust init Notes in first!!");
    EXPECT_EQ(host::TraceLine(3, nullptr, -1, nullptr, "a\r\nb"), "L3\t:-1\t\ta\\r\\nb");
}

} // namespace
