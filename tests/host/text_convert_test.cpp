#include "text_convert.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ConvertCase {
    std::u16string utf16; // the library's text
    std::string utf8;     // the text the host writes
};

class Utf16ToUtf8Test : public testing::TestWithParam<ConvertCase> {};

TEST_P(Utf16ToUtf8Test, ConvertsEveryUnit) {
    const std::u16string& text = GetParam().utf16;
    const std::basic_string<WCHAR> wide(text.begin(), text.end());
    EXPECT_EQ(host::Utf16ToUtf8(wide.data(), wide.size()), GetParam().utf8);
    if (GetParam().utf8.find("\xEF\xBF\xBD") == std::string::npos) {
        EXPECT_EQ(host::Utf8ToUtf16(GetParam().utf8), wide);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Utf16ToUtf8Test,
    testing::Values(ConvertCase{u"", ""},
                    ConvertCase{u"caf\u00e9 \u20ac", "caf\xC3\xA9 \xE2\x82\xAC"},
                    ConvertCase{u"\U0001F600", "\xF0\x9F\x98\x80"},
                    ConvertCase{std::u16string(u"a\0b", 3), std::string("a\0b", 3)},
                    ConvertCase{u"x\xD800y", "x\xEF\xBF\xBDy"},
                    ConvertCase{u"\xDC00", "\xEF\xBF\xBD"}));

TEST(AnsiToUtf8Test, ReadsTheWesternCodePage) {
    EXPECT_EQ(host::AnsiToUtf8("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(host::AnsiToUtf8(""), "");
}

} // namespace
