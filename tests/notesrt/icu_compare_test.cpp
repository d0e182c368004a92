// Our LMBCS against ICU's LMBCS-1 converter, both ways.
#include "lmbcs.h"

#include <gtest/gtest.h>
#include <unicode/ucnv.h>
#include <unicode/ustring.h>

#include <memory>
#include <string>

namespace {

using namespace notesrt;

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};

class IcuLmbcs {
  public:
    IcuLmbcs() {
        UErrorCode error = U_ZERO_ERROR;
        m_converter.reset(ucnv_open("LMBCS-1", &error));
        EXPECT_TRUE(U_SUCCESS(error)) << u_errorName(error);
    }

    std::u16string Decode(const std::string& lmbcs) {
        std::u16string out(lmbcs.size() * 2 + 4, u'\0');
        UErrorCode error = U_ZERO_ERROR;
        const int32_t length =
            ucnv_toUChars(m_converter.get(), reinterpret_cast<UChar*>(out.data()),
                          static_cast<int32_t>(out.size()), lmbcs.data(),
                          static_cast<int32_t>(lmbcs.size()), &error);
        EXPECT_TRUE(U_SUCCESS(error)) << u_errorName(error);
        out.resize(static_cast<size_t>(length));
        return out;
    }

    std::string Encode(const std::u16string& text) {
        std::string out(text.size() * 4 + 4, '\0');
        UErrorCode error = U_ZERO_ERROR;
        const int32_t length = ucnv_fromUChars(
            m_converter.get(), out.data(), static_cast<int32_t>(out.size()),
            reinterpret_cast<const UChar*>(text.data()), static_cast<int32_t>(text.size()), &error);
        EXPECT_TRUE(U_SUCCESS(error)) << u_errorName(error);
        out.resize(static_cast<size_t>(length));
        return out;
    }

  private:
    std::unique_ptr<UConverter, ConverterCloser> m_converter; // ICU's LMBCS-1 converter
};

std::u16string Utf16(const std::string& utf8) {
    std::u16string out(utf8.size() + 1, u'\0');
    int32_t length = 0;
    UErrorCode error = U_ZERO_ERROR;
    u_strFromUTF8(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()), &length,
                  utf8.data(), static_cast<int32_t>(utf8.size()), &error);
    EXPECT_TRUE(U_SUCCESS(error)) << u_errorName(error);
    out.resize(static_cast<size_t>(length));
    return out;
}

struct Sample {
    const char* name; // what the text is
    std::string utf8; // the text
};

class IcuEncodingTest : public testing::TestWithParam<Sample> {};

// We read what ICU writes, and write the same, for texts whose forms we write too (what we
// write ICU reads: IcuDecodesEveryCharacterWeWrite).
TEST_P(IcuEncodingTest, WeDecodeIcusEncoding) {
    IcuLmbcs icu;
    const std::string encoded = icu.Encode(Utf16(GetParam().utf8));
    EXPECT_EQ(LmbcsToUtf8(encoded), GetParam().utf8);
    EXPECT_EQ(encoded, Utf8ToLmbcs(GetParam().utf8));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, IcuEncodingTest,
    testing::Values(
        Sample{"Ascii", "Design review, 09:00-10:00 {ok}"},
        Sample{"Western", "\xC3\x80 bient\xC3\xB4t, M\xC3\xBCller & S\xC3\xB8ren \xC2\xBF\xC2\xA1"},
        Sample{"Symbols",
               "\xC2\xA9\xC2\xAE\xC2\xB0\xC2\xB1\xC2\xA7\xC2\xB6 \xE2\x96\x93\xE2\x94\x80"}),
    [](const auto& row) { return std::string(row.param.name); });

// Every BMP character but the surrogates, and two beyond the BMP (written as surrogate pairs);
// those that no form carries come back as U+FFFD.
TEST(IcuCompare, IcuDecodesEveryCharacterWeWrite) {
    IcuLmbcs icu;
    std::u16string all;
    std::u16string expected;
    for (char32_t c = 1; c < 0x10000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        all += static_cast<char16_t>(c);
        const bool noForm = (c > 0xF600 && c <= 0xF6FF) || c >= 0xFFFE;
        expected += noForm ? u'\uFFFD' : static_cast<char16_t>(c);
    }
    all += u"\U0001F600 \U0001F389";
    expected += u"\U0001F600 \U0001F389";
    std::string utf8(all.size() * 3 + 1, '\0');
    int32_t length = 0;
    UErrorCode error = U_ZERO_ERROR;
    u_strToUTF8(utf8.data(), static_cast<int32_t>(utf8.size()), &length,
                reinterpret_cast<const UChar*>(all.data()), static_cast<int32_t>(all.size()),
                &error);
    ASSERT_TRUE(U_SUCCESS(error));
    utf8.resize(static_cast<size_t>(length));
    EXPECT_TRUE(icu.Decode(Utf8ToLmbcs(utf8)) == expected);
}

} // namespace
