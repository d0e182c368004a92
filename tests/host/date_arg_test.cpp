#include "data_rows.h"
#include "date_arg.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

// A row of data/dates.tsv: an argument and the FILETIME it gives, as one number; for an
// argument refused, empty.
class ParseDateArgumentTest : public testing::TestWithParam<std::vector<std::string>> {};

TEST_P(ParseDateArgumentTest, GivesTheUtcFileTimeOrNamesTheArgument) {
    const std::string& text = GetParam()[0];
    const std::string& ticks = GetParam()[1];
    FILETIME ft{1, 2};
    std::string error;
    EXPECT_EQ(host::ParseDateArgument(text, &ft, &error), !ticks.empty()) << error;
    const uint64_t written = uint64_t{ft.dwHighDateTime} << 32 | ft.dwLowDateTime;
    if (ticks.empty()) {
        EXPECT_NE(error.find(text), std::string::npos) << error;
        EXPECT_EQ(written, uint64_t{2} << 32 | 1) << "the time was changed";
    } else {
        EXPECT_EQ(written, std::stoull(ticks));
    }
}

INSTANTIATE_TEST_SUITE_P(Dates, ParseDateArgumentTest,
                         testing::ValuesIn(korvo_test::DataRows(KORVO_HOST_DATA "/dates.tsv")));

} // namespace
