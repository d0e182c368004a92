#include "json_writer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct StringCase {
    std::string input;    // the UTF-8 (or ill-formed) text
    std::string expected; // the JSON literal expected
};

class AppendJsonStringTest : public testing::TestWithParam<StringCase> {};

TEST_P(AppendJsonStringTest, EscapesAndRepairs) {
    std::string out = "x";
    host::AppendJsonString(&out, GetParam().input);
    EXPECT_EQ(out, "x" + GetParam().expected);
}

const std::string kFffd = "\xEF\xBF\xBD";

INSTANTIATE_TEST_SUITE_P(
    Strings, AppendJsonStringTest,
    testing::Values(
        StringCase{"", R"("")"}, StringCase{"plain text", R"("plain text")"},
        StringCase{"a\"b\\c/d", R"("a\"b\\c/d")"}, StringCase{"\b\f\n\r\t", R"("\b\f\n\r\t")"},
        StringCase{std::string("\0\x01\x1f\x7f", 4), R"("\u0000\u0001\u001f)"
                                                     "\x7f\""},
        StringCase{"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", "\"caf\xC3\xA9 \xE2\x82\xAC "
                                                                "\xF0\x9F\x98\x80\""},
        StringCase{"\xEF\xBF\xBF\xF4\x8F\xBF\xBF", "\"\xEF\xBF\xBF\xF4\x8F\xBF\xBF\""},
        // Ill-formed input: one U+FFFD for each maximal ill-formed subpart.
        StringCase{"a\x80z", "\"a" + kFffd + "z\""},
        StringCase{"\xC0\xAF", "\"" + kFffd + kFffd + "\""},
        StringCase{"\xC2", "\"" + kFffd + "\""}, StringCase{"\xE2\x82", "\"" + kFffd + "\""},
        StringCase{"\xE2\x82z", "\"" + kFffd + "z\""},
        StringCase{"\xE0\x80\xAF", "\"" + kFffd + kFffd + kFffd + "\""},
        StringCase{"\xED\xA0\x80", "\"" + kFffd + kFffd + kFffd + "\""},
        StringCase{"\xF0\x9F\x98", "\"" + kFffd + "\""},
        StringCase{"\xF4\x90\x80\x80", "\"" + kFffd + kFffd + kFffd + kFffd + "\""},
        StringCase{"\xF5\xFF", "\"" + kFffd + kFffd + "\""}));

TEST(JsonObjectTest, WritesMembersInOrderOnOneLine) {
    host::JsonObject object;
    object.AddString("op", "list").AddNumber("result", -2147483648LL).AddRaw("list", "[]");
    EXPECT_EQ(object.Text(), R"({"op":"list","result":-2147483648,"list":[]})");
    EXPECT_EQ(host::JsonObject().Text(), "{}");
}

} // namespace
