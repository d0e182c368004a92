#include "script_words.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct SplitCase {
    const char* line;               // the script line
    std::vector<std::string> words; // the words expected
};

class SplitScriptLineTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitScriptLineTest, SplitsAsAShellWould) {
    std::vector<std::string> words{"left over"};
    std::string error;
    ASSERT_TRUE(host::SplitScriptLine(GetParam().line, &words, &error)) << error;
    EXPECT_EQ(words, GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SplitScriptLineTest,
    testing::Values(SplitCase{"", {}}, SplitCase{" \t ", {}}, SplitCase{"# only a comment", {}},
                    SplitCase{"  list  2026-12-07\t2026-12-08 ",
                              {"list", "2026-12-07", "2026-12-08"}},
                    SplitCase{"get key # trailing comment", {"get", "key"}},
                    SplitCase{"smtp a#b", {"smtp", "a#b"}},
                    SplitCase{"smtp \"# not a comment\"", {"smtp", "# not a comment"}},
                    SplitCase{"smtp \"Ann Lee\"", {"smtp", "Ann Lee"}},
                    SplitCase{"smtp ''", {"smtp", ""}}, SplitCase{"smtp \"\" x", {"smtp", "", "x"}},
                    SplitCase{"smtp a'b c'\"d e\"f", {"smtp", "ab cd ef"}},
                    SplitCase{R"(x "a\nb\rc\td\\e\"f")", {"x", "a\nb\rc\td\\e\"f"}},
                    SplitCase{R"(x "C:\dir\q")", {"x", "C:\\dir\\q"}},
                    SplitCase{R"(x 'a\nb "c"')", {"x", "a\\nb \"c\""}},
                    SplitCase{R"(x a\ b \"c\" \\)", {"x", "a b", "\"c\"", "\\"}},
                    SplitCase{"x \"caf\xC3\xA9\"", {"x", "caf\xC3\xA9"}}));

struct RejectCase {
    const char* line;  // the script line
    const char* error; // the error expected
};

class SplitScriptLineRejectTest : public testing::TestWithParam<RejectCase> {};

TEST_P(SplitScriptLineRejectTest, NamesTheProblem) {
    std::vector<std::string> words;
    std::string error;
    EXPECT_FALSE(host::SplitScriptLine(GetParam().line, &words, &error));
    EXPECT_EQ(error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(Lines, SplitScriptLineRejectTest,
                         testing::Values(RejectCase{"smtp \"Ann", "unterminated double quote"},
                                         RejectCase{R"(smtp "Ann\")", "unterminated double quote"},
                                         RejectCase{"smtp 'Ann", "unterminated single quote"},
                                         RejectCase{"smtp Ann\\", "line ends in a backslash"}));

} // namespace
