#include "date_arg.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

struct DateCase {
    const char* text; // the argument
    uint64_t ticks;   // the FILETIME expected, as one number
};

class ParseDateArgumentTest : public testing::TestWithParam<DateCase> {};

TEST_P(ParseDateArgumentTest, GivesTheUtcFileTime) {
    FILETIME ft{};
    std::string error;
    ASSERT_TRUE(host::ParseDateArgument(GetParam().text, &ft, &error)) << error;
    EXPECT_EQ(uint64_t{ft.dwHighDateTime} << 32 | ft.dwLowDateTime, GetParam().ticks);
}

INSTANTIATE_TEST_SUITE_P(Dates, ParseDateArgumentTest,
                         testing::Values(DateCase{"1601-01-01", 0},
                                         DateCase{"1601-01-01T00:00:01", 10000000},
                                         DateCase{"1970-01-01", 116444736000000000},
                                         DateCase{"2026-12-07", 134410752000000000},
                                         DateCase{"2000-02-29T12:34:56", 125963012960000000},
                                         DateCase{"2024-12-31T23:59:59", 133801631990000000},
                                         DateCase{"9999-12-31T23:59:59", 2650467743990000000}));

class ParseDateArgumentRejectTest : public testing::TestWithParam<const char*> {};

TEST_P(ParseDateArgumentRejectTest, LeavesTheTimeAlone) {
    FILETIME ft{1, 2};
    std::string error;
    EXPECT_FALSE(host::ParseDateArgument(GetParam(), &ft, &error));
    EXPECT_NE(error.find(GetParam()), std::string::npos) << error;
    EXPECT_EQ(ft.dwLowDateTime, 1u);
    EXPECT_EQ(ft.dwHighDateTime, 2u);
}

INSTANTIATE_TEST_SUITE_P(Dates, ParseDateArgumentRejectTest,
                         testing::Values("", "2026-12-7", "2026/12/07", "2026-12-07 10:00:00",
                                         "2026-12-07T10:00", "2026-12-07T10:00:00Z", "+026-12-07",
                                         "2026-1a-07", "1600-12-31", "2026-00-10", "2026-13-01",
                                         "2026-04-31", "2026-02-29", "1900-02-29", "2026-12-00",
                                         "2026-12-07T24:00:00", "2026-12-07T23:60:00",
                                         "2026-12-07T23:59:60"));

} // namespace
