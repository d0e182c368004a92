// Conversions between code pages and UTF-16 at their limits, and the caseless comparison. The
// decoding of invalid UTF-8 and the single-byte pages 1252 and 850 are compared with ICU and
// iconv in the reference suite.
#include "helpers.h"

#include "platform/codepage.h"
#include "platform/errors.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr unsigned kUtf8 = platform::kCodePageUtf8;
constexpr uint32_t kMbErrInvalidChars = 0x8;  // MB_ERR_INVALID_CHARS
constexpr uint32_t kWcErrInvalidChars = 0x80; // WC_ERR_INVALID_CHARS
constexpr char16_t S = 0xAAAA;                // an output unit never written

// One call: the result, the last error when it is 0, and the whole output buffer afterwards
// (dstLen units or bytes; sentinels where nothing was written).
template <typename In, typename Out> struct ConversionRow {
    const char* label; // names the row in failures
    unsigned codePage; // the code page passed
    In src;            // the source text
    int srcLen;        // -1, or a count of src's units
    uint32_t flags;    // the flags passed
    int dstLen;        // the room given; 0 asks for the size
    int result;        // the result expected
    uint32_t error;    // the last error expected when result is 0
    Out dst;           // the output buffer afterwards
};

TEST(CodePageTest, Widens) {
    const ConversionRow<std::string, std::u16string> rows[] = {
        {"SizeQueryWithNul", kUtf8, "abc", -1, 0, 0, 4, 0, u""},
        {"WithNul", kUtf8, "abc", -1, 0, 4, 4, 0, std::u16string(u"abc\0", 4)},
        {"ExactFit", kUtf8, "h\xE2\x82\xAC", 4, 0, 2, 2, 0, u"h\u20AC"},
        {"OneShort", kUtf8, "abc", 3, 0, 2, 0, 122, u"ab"},
        {"NulDoesNotFit", kUtf8, "abc", -1, 0, 3, 0, 122, u"abc"},
        {"PairNotSplit", kUtf8, "a\xF0\x9F\x98\x80", 5, 0, 2, 0, 122, {u'a', S}},
        {"StrictInvalid", kUtf8, "a\x80", 2, kMbErrInvalidChars, 2, 0, 1113, {S, S}},
        {"Cp1250", 1250, "\x8A\xB9", 2, 0, 2, 2, 0, u"\u0160\u0105"},
        {"EmptySource", kUtf8, "", 0, 0, 1, 0, 87, {S}},
        {"UnknownCodePage", 12345, "abc", 3, 0, 1, 0, 87, {S}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        std::vector<WCHAR> dst(size_t(row.dstLen), WCHAR(S));
        platform::SetLastError(0);
        EXPECT_EQ(platform::MultiByteToWideChar(row.codePage, row.flags, row.src.data(), row.srcLen,
                                                row.dstLen ? dst.data() : nullptr, row.dstLen),
                  row.result);
        EXPECT_EQ(platform::GetLastError(), row.result ? 0 : row.error);
        EXPECT_EQ(U16(dst.data(), dst.size()), row.dst);
    }
}

TEST(CodePageTest, Narrows) {
    const ConversionRow<std::u16string, std::string> rows[] = {
        {"SizeQuery", kUtf8, u"a\u20AC", -1, 0, 0, 5, 0, ""},
        {"ExactFit", kUtf8, u"a\u20AC", 2, 0, 4, 4, 0, "a\xE2\x82\xAC"},
        {"CharacterNotSplit", kUtf8, u"a\u20AC", 2, 0, 3, 0, 122, "a##"},
        {"NulDoesNotFit", kUtf8, u"ab", -1, 0, 2, 0, 122, "ab"},
        {"PairNotSplit", kUtf8, u"\U0001F600", 2, 0, 3, 0, 122, "###"},
        {"StrictLone", kUtf8, u"x\xDC00", 2, kWcErrInvalidChars, 4, 0, 1113, "####"},
        {"Cp1250", 1250, u"\u0160\u00E9\u4E00", 3, 0, 3, 3, 0, "\x8A\xE9?"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        const WideString src = W(row.src);
        std::string dst(size_t(row.dstLen), '#');
        platform::SetLastError(0);
        EXPECT_EQ(platform::WideCharToMultiByte(row.codePage, row.flags, src.c_str(), row.srcLen,
                                                row.dstLen ? dst.data() : nullptr, row.dstLen),
                  row.result);
        EXPECT_EQ(platform::GetLastError(), row.result ? 0 : row.error);
        EXPECT_EQ(dst, row.dst);
    }
}

TEST(CodePageTest, ComparesIgnoringCase) {
    struct Row {
        std::u16string a; // first text
        int aLen;         // its length as passed
        std::u16string b; // second text, NUL-terminated
        int expected;     // 1 less, 2 equal, 3 greater
    };
    const Row rows[] = {
        {u"Notes.INI", -1, u"notes.ini", 2},
        {u"\u0130", -1, u"i", 3},
        {u"abcX", 3, u"ABC", 2},
        {u"a", -1, u"B", 1},
        {u"b", -1, u"A", 3},
        {u"ab", -1, u"ABC", 1},
    };
    for (const Row& row : rows)
        EXPECT_EQ(
            platform::CompareStringIgnoreCase(W(row.a).c_str(), row.aLen, W(row.b).c_str(), -1),
            row.expected)
            << testing::PrintToString(row.a);
}

} // namespace
