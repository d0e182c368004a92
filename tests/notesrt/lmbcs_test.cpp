// LMBCS forms and OSTranslate.
#include "lmbcs.h"
#include "notesapi.h"

#include <gtest/gtest.h>

namespace {

using namespace notesrt;

const std::string kFffd = "\xEF\xBF\xBD";

struct FormCase {
    std::string utf8;  // the text
    std::string lmbcs; // an LMBCS form of it
    bool ours;         // the form we write (else only read: other forms and damage)
};

class LmbcsFormTest : public testing::TestWithParam<FormCase> {};

TEST_P(LmbcsFormTest, DecodesAndEncodesOurForms) {
    EXPECT_EQ(LmbcsToUtf8(GetParam().lmbcs), GetParam().utf8);
    if (GetParam().ours) {
        EXPECT_EQ(Utf8ToLmbcs(GetParam().utf8), GetParam().lmbcs);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Forms, LmbcsFormTest,
    testing::Values(FormCase{"Az~\x7F", "Az~\x7F", true},
                    FormCase{std::string("\0\t\n\r\x19", 5), std::string("\0\t\n\r\x19", 5), true},
                    FormCase{"\x01\x1B\x1F", "\x0F\x21\x0F\x3B\x0F\x3F", true},
                    FormCase{"\xC3\xA9\xC3\x9F\xC2\xA0\xE2\x96\x91", "\x82\xE1\xFF\xB0", true},
                    FormCase{"\xE2\x82\xAC", "\x14\x20\xAC", true},
                    FormCase{"\xD0\x80\xD0\x81", std::string("\x14\xF6\x04\x14\x04\x01", 6), true},
                    FormCase{"\xC2\x85", std::string("\x14\x00\x85", 3), true},
                    FormCase{"\xF0\x9F\x98\x80", "\x14\xD8\x3D\x14\xF6\xDE", true},
                    FormCase{"\xF0\x9F\x92\xA9", "\x14\xD8\x3D\x14\xDC\xA9", true},
                    FormCase{"\xD0\x80", std::string("\x14\x04\x00", 3), false},
                    FormCase{kFffd + "a", std::string("\x02\xC1") + "a", false},
                    FormCase{kFffd + "b", std::string("\x10\x88\xA0") + "b", false},
                    FormCase{kFffd + "c", std::string("\x12\x41") + "c", false},
                    FormCase{kFffd + "d", std::string("\x14\xD8\x3D") + "d", false},
                    FormCase{kFffd, std::string("\x14\xDE\x00", 3), false},
                    FormCase{"e" + kFffd, "e\x14\x20", false}, FormCase{kFffd, "\x0F", false}));

TEST(Lmbcs, MalformedUtf8AndCharactersWithoutFormBecomeReplacement) {
    const std::string replacement = "\x14\xFF\xFD";
    std::string expected = "a" + replacement + "b";
    for (int i = 0; i < 7; ++i)
        expected += replacement;
    EXPECT_EQ(Utf8ToLmbcs(std::string("a\xFF") + "b\xC0\xAF\xED\xA0\x80\xEF\x98\x81\xEF\xBF\xBF"),
              expected);
    EXPECT_EQ(Utf8ToLmbcs("\xEF\x98\x80"), "\x14\xF6\xF6");
}

TEST(Translate, WritesWholeCharactersOnly) {
    char out[16] = {};
    EXPECT_EQ(OSTranslate(OS_TRANSLATE_UTF8_TO_LMBCS, "a\xE2\x82\xAC", 4, out, 3), 1);
    EXPECT_EQ(std::string(out), "a");
    EXPECT_EQ(OSTranslate(OS_TRANSLATE_UTF8_TO_LMBCS, "a\xE2\x82\xAC", 4, out, 4), 4);
    EXPECT_EQ(std::string(out, 4), "a\x14\x20\xAC");
    EXPECT_EQ(OSTranslate(OS_TRANSLATE_LMBCS_TO_UTF8, "\x82\x14\xD8\x3D\x14\xF6\xDE", 7, out, 5),
              2);
    EXPECT_EQ(std::string(out), "\xC3\xA9");
    EXPECT_EQ(OSTranslate(99, "a", 1, out, 4), 0);
}

} // namespace
