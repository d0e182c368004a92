// UTF-8 conversions of rk_str_convert compared with ICU's on BMP text.
#include "rk/convert.h"

#include <gtest/gtest.h>
#include <unicode/ustring.h>

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

TEST(Utf8AgainstIcu, RandomBmpTextsRoundTrip) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        const std::u16string text = RandomBmpText(1000, false, seed);
        const std::string expected = IcuUtf8(text);
        EXPECT_EQ(Encode(text, expected.size()), expected) << "seed " << seed;
        EXPECT_EQ(Decode(expected), text) << "seed " << seed;
    }
}

TEST(Utf8AgainstIcu, LoneSurrogatesEncodeAsIcuSubstitutes) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        const std::u16string text = RandomBmpText(1000, true, seed);
        const std::string expected = IcuUtf8(text);
        EXPECT_EQ(Encode(text, expected.size()), expected) << "seed " << seed;
    }
}

TEST(Utf8AgainstIcu, TextCutToRoomIsPrefixOfIcuForm) {
    const std::u16string text = RandomBmpText(200, false, 7);
    const std::string full = IcuUtf8(text);
    for (size_t room = 1; room < full.size(); room += 37) {
        const std::string cut = Encode(text, room);
        EXPECT_LE(cut.size(), room);
        EXPECT_GT(cut.size() + 3, room) << "at most one character is left out";
        EXPECT_EQ(full.compare(0, cut.size(), cut), 0) << "room " << room;
    }
}

} // namespace
