// UTF-8 conversions of rk_str_convert compared with ICU's on BMP text, and UTF-8 as the ANSI
// code page (set through the environment, so Linux only).
#include "rk/convert.h"

#include <gtest/gtest.h>
#include <unicode/ustring.h>

#include <cstdlib>
#include <random>
#include <string>

namespace {

constexpr int kUtf8 = 65001;

bool IsSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDFFF;
}

// Every BMP character that is not a surrogate, U+0000 included, in order.
std::u16string AllBmpCharacters() {
    std::u16string text;
    for (char32_t c = 0; c <= 0xFFFF; ++c)
        if (!IsSurrogate(static_cast<char16_t>(c)))
            text += static_cast<char16_t>(c);
    return text;
}

// count random BMP units; surrogates are kept only when allowSurrogates, and then stand alone.
std::u16string RandomBmpText(size_t count, bool allowSurrogates, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<unsigned> unit(1, 0xFFFF);
    std::u16string text;
    while (text.size() < count) {
        const auto next = static_cast<char16_t>(unit(random));
        if (!IsSurrogate(next) || (allowSurrogates && (text.empty() || !IsSurrogate(text.back()))))
            text += next;
    }
    return text;
}

// ICU's UTF-8 form of text, lone surrogates written as U+FFFD.
std::string IcuUtf8(const std::u16string& text) {
    const auto units = static_cast<int32_t>(text.size());
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8WithSub(nullptr, 0, &length, text.data(), units, 0xFFFD, nullptr, &status);
    std::string utf8(static_cast<size_t>(length), '\0');
    status = U_ZERO_ERROR;
    u_strToUTF8WithSub(utf8.data(), length, &length, text.data(), units, 0xFFFD, nullptr, &status);
    EXPECT_TRUE(U_SUCCESS(status)) << u_errorName(status);
    return utf8;
}

std::string Encode(const std::u16string& text, size_t room) {
    std::string utf8(room, '\0');
    utf8.resize(rk_str_convert(kUtf8, utf8.data(), static_cast<unsigned>(room), text.data(),
                               static_cast<unsigned>(text.size())));
    return utf8;
}

std::u16string Decode(const std::string& utf8) {
    std::u16string text(utf8.size(), u'\0');
    text.resize(rk_str_convert(kUtf8, text.data(), static_cast<unsigned>(text.size()), utf8.data(),
                               static_cast<unsigned>(utf8.size())));
    return text;
}

TEST(Utf8AgainstIcu, AllBmpCharactersRoundTrip) {
    const std::u16string text = AllBmpCharacters();
    const std::string expected = IcuUtf8(text);
    EXPECT_EQ(Encode(text, expected.size()), expected);
    EXPECT_EQ(Decode(expected), text);
}

TEST(Utf8AgainstIcu, RandomBmpTexts) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        const std::u16string text = RandomBmpText(1000, false, seed);
        const std::string expected = IcuUtf8(text);
        EXPECT_EQ(Encode(text, expected.size()), expected) << "seed " << seed;
        EXPECT_EQ(Decode(expected), text) << "seed " << seed;

        const std::u16string withLoneSurrogates = RandomBmpText(1000, true, seed);
        EXPECT_EQ(Encode(withLoneSurrogates, 3 * withLoneSurrogates.size()),
                  IcuUtf8(withLoneSurrogates))
            << "seed " << seed;
    }
}

// Two bytes per character is less than UTF-8 may need: the text is cut after what fits.
TEST(Utf8AsAnsiCodePage, WideToNarrowKeepsWholeCharactersThatFit) {
    setenv("KORVO_ACP", "65001", 1);
    std::string dst = "x";
    RK::_cstring_set(dst, 1, u"\u20ac\u20ac", RK::kWholeString);
    unsetenv("KORVO_ACP");
    EXPECT_EQ(dst, "x\xE2\x82\xAC");
}

} // namespace
