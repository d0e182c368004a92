#include "data_rows.h"
#include "host_options.h"
#include "number_arg.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ParseHostOptionsTest, ReadsEveryOptionBeforeTheCommand) {
    host::HostOptions options;
    std::string error;
    ASSERT_TRUE(host::ParseHostOptions({"--registry", "r.ini", "--trace=2", "--trace-file", "t",
                                        "--answer=retry,cancel", "list", "--trace", "x"},
                                       &options, &error))
        << error;
    EXPECT_EQ(options.registryFile, "r.ini");
    EXPECT_EQ(options.traceLevel, 2);
    EXPECT_EQ(options.traceFile, "t");
    EXPECT_EQ(options.answers, "retry,cancel");
    EXPECT_FALSE(options.script);
    EXPECT_EQ(options.command, (std::vector<std::string>{"list", "--trace", "x"}));
}

TEST(ParseHostOptionsTest, TakesAScriptInsteadOfACommand) {
    host::HostOptions options;
    std::string error;
    ASSERT_TRUE(host::ParseHostOptions({"--script", "-"}, &options, &error)) << error;
    EXPECT_EQ(options.script, "-");
    EXPECT_TRUE(options.command.empty());
    EXPECT_EQ(options.traceLevel, -1);
}

// A row of data/usage_errors.tsv: a command line after the program name ("|" between the
// arguments) and the error.
class ParseHostOptionsRejectTest : public testing::TestWithParam<std::vector<std::string>> {};

TEST_P(ParseHostOptionsRejectTest, ExplainsTheUsageError) {
    const std::string& line = GetParam()[0];
    host::HostOptions options;
    std::string error;
    EXPECT_FALSE(host::ParseHostOptions(line.empty() ? std::vector<std::string>()
                                                     : korvo_test::Split(line, '|'),
                                        &options, &error));
    EXPECT_EQ(error, GetParam()[1]);
}

INSTANTIATE_TEST_SUITE_P(CommandLines, ParseHostOptionsRejectTest,
                         testing::ValuesIn(korvo_test::DataRows(KORVO_HOST_DATA
                                                                "/usage_errors.tsv")));

// A row of data/numbers.tsv: an argument and its value; empty when it is no whole 32-bit
// number.
class ParseInt32Test : public testing::TestWithParam<std::vector<std::string>> {};

TEST_P(ParseInt32Test, AcceptsOnlyWholeThirtyTwoBitNumbers) {
    const std::string& expected = GetParam()[1];
    int32_t value = 77;
    EXPECT_EQ(host::ParseInt32(GetParam()[0], &value), !expected.empty());
    EXPECT_EQ(value, expected.empty() ? 77 : std::stoi(expected));
}

INSTANTIATE_TEST_SUITE_P(Numbers, ParseInt32Test,
                         testing::ValuesIn(korvo_test::DataRows(KORVO_HOST_DATA "/numbers.tsv")));

} // namespace
