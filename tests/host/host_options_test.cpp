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

struct RejectCase {
    std::vector<std::string> args; // the command line after the program name
    const char* error;             // the error expected
};

class ParseHostOptionsRejectTest : public testing::TestWithParam<RejectCase> {};

TEST_P(ParseHostOptionsRejectTest, ExplainsTheUsageError) {
    host::HostOptions options;
    std::string error;
    EXPECT_FALSE(host::ParseHostOptions(GetParam().args, &options, &error));
    EXPECT_EQ(error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, ParseHostOptionsRejectTest,
    testing::Values(RejectCase{{}, "no command given"},
                    RejectCase{{"--trace", "1"}, "no command given"},
                    RejectCase{{"--trace"}, "option --trace needs a value"},
                    RejectCase{{"--trace", "high", "list"},
                               "--trace needs a whole number, not 'high'"},
                    RejectCase{{"--verbose", "1", "list"}, "unknown option --verbose"},
                    RejectCase{{"--script", "s.txt", "list"}, "a command cannot follow --script"}));

struct NumberCase {
    const char* text; // the argument
    bool ok;          // whether it is a 32-bit integer
    int32_t value;    // its value when it is
};

class ParseInt32Test : public testing::TestWithParam<NumberCase> {};

TEST_P(ParseInt32Test, AcceptsOnlyWholeThirtyTwoBitNumbers) {
    int32_t value = 77;
    EXPECT_EQ(host::ParseInt32(GetParam().text, &value), GetParam().ok);
    EXPECT_EQ(value, GetParam().ok ? GetParam().value : 77);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, ParseInt32Test,
    testing::Values(NumberCase{"1", true, 1}, NumberCase{"+2", true, 2}, NumberCase{"-0", true, 0},
                    NumberCase{"007", true, 7}, NumberCase{"2147483647", true, INT32_MAX},
                    NumberCase{"-2147483648", true, INT32_MIN}, NumberCase{"2147483648", false, 0},
                    NumberCase{"-2147483649", false, 0},
                    NumberCase{"99999999999999999999", false, 0}, NumberCase{"", false, 0},
                    NumberCase{"-", false, 0}, NumberCase{"1 ", false, 0},
                    NumberCase{"0x10", false, 0}, NumberCase{"1.0", false, 0}));

} // namespace
