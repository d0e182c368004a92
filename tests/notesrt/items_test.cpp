// Items: locating them, their value blocks, reading them as text and times, converting rich
// text, extracting attached files.
#include "open_database.h"

#include <cstring>
#include <fstream>
#include <sstream>

namespace {

class ItemTest : public OpenDatabaseTest {
  protected:
    void SetUp() override {
        OpenDatabaseTest::SetUp();
        note = Open(100);
    }
    void TearDown() override {
        EXPECT_EQ(NSFNoteClose(note), 0);
        OpenDatabaseTest::TearDown();
    }

    NOTEHANDLE note = 0; // note 100
};

template <typename T> T ReadAt(const std::string& bytes, size_t offset) {
    T value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

TEST_F(ItemTest, WalksTheItemsOfOneNameInOrder) {
    BLOCKID item = {}, value = {};
    uint16_t type = 0;
    uint32_t length = 0;
    std::vector<std::string> texts;
    STATUS status = NSFItemInfo(note, "body", 4, &item, &type, &value, &length);
    while (status == 0) {
        EXPECT_EQ(type, TYPE_COMPOSITE);
        DHANDLE text = 0;
        uint32_t textLength = 0;
        EXPECT_EQ(ConvertItemToText(value, length, "\r\n", 100, &text, &textLength, 1), 0);
        texts.push_back(BlockBytes(text, textLength));
        EXPECT_EQ(OSMemFree(text), 0);
        status = NSFItemInfoNext(note, item, "Body", 4, &item, &type, &value, &length);
    }
    EXPECT_EQ(ERR(status), ERR_ITEM_NOT_FOUND);
    EXPECT_EQ(texts, (std::vector<std::string>{"Agenda\r\nFirst item", "Second body", "Third"}));
    EXPECT_EQ(NSFItemInfo(note, "Missing", 7, nullptr, nullptr, nullptr, nullptr),
              ERR_ITEM_NOT_FOUND);
    EXPECT_EQ(NSFItemInfo(note, "Count", 5, nullptr, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(NSFItemInfoNext(note, BLOCKID{12345, 0}, "Body", 4, &item, nullptr, nullptr, nullptr),
              0x0109);
}

TEST_F(ItemTest, ValueBlocksHoldTheDataTypeAndValue) {
    BLOCKID value = {};
    uint32_t length = 0;
    ASSERT_EQ(NSFItemInfo(note, "Attendees", 9, nullptr, nullptr, &value, &length), 0);
    EXPECT_EQ(BlockBytes(value.pool, length), std::string("\x01\x05\x02\x00\x11\x00\x11\x00", 8) +
                                                  "CN=Bo Chen/O=AcmeCN=Cy Diaz/O=Acme");
    ASSERT_EQ(NSFItemInfo(note, "Ratio", 5, nullptr, nullptr, &value, &length), 0);
    ASSERT_EQ(length, 10u);
    EXPECT_EQ(ReadAt<double>(BlockBytes(value.pool, length), 2), 2.5);
    ASSERT_EQ(NSFItemInfo(note, "Dates", 5, nullptr, nullptr, &value, &length), 0);
    const std::string dates = BlockBytes(value.pool, length);
    EXPECT_EQ(length, 2u + 4u + 16u);
    EXPECT_EQ(ReadAt<uint16_t>(dates, 0), TYPE_TIME_RANGE);
    EXPECT_EQ(ReadAt<uint16_t>(dates, 2), 2u);
    EXPECT_EQ(ReadAt<uint32_t>(dates, 14) - ReadAt<uint32_t>(dates, 6), 180000u);
    EXPECT_EQ(ReadAt<uint32_t>(dates, 18) - ReadAt<uint32_t>(dates, 10), 1u);

    EXPECT_EQ(OSMemFree(value.pool), 0x0108);
    EXPECT_GT(Counts().memoryAllocated, 0u);
}

TEST_F(ItemTest, AttachedFilesCarryTheirDescriptorAndExtract) {
    BLOCKID item = {}, value = {};
    uint16_t type = 0;
    ASSERT_EQ(NSFItemInfo(note, "$FILE", 5, &item, &type, &value, nullptr), 0);
    EXPECT_EQ(type, TYPE_OBJECT);
    const char* bytes = OSLockBlock(const char, value);
    ASSERT_NE(bytes, nullptr);
    const std::string object(bytes, 2 + FILEOBJECT_SIZE + 12);
    OSUnlockBlock(value);
    EXPECT_EQ(ReadAt<uint16_t>(object, 0), TYPE_OBJECT);
    EXPECT_EQ(ReadAt<uint16_t>(object, 2 + 0), OBJECT_FILE);
    EXPECT_EQ(ReadAt<uint16_t>(object, 2 + 6), 12u);
    EXPECT_EQ(ReadAt<uint16_t>(object, 2 + 8), HOST_MSDOS);
    EXPECT_EQ(ReadAt<uint32_t>(object, 2 + 16), 6u);
    EXPECT_EQ(object.substr(2 + 36), "ContactPhoto");

    const std::string path = (install.root / "photo.jpg").string();
    ASSERT_EQ(NSFNoteExtractFile(note, item, path.c_str(), nullptr), 0);
    EXPECT_EQ(install.Read("photo.jpg"), std::string("\xFF\xD8\xFF\xE0\x00\x10", 6));
    BLOCKID body = {};
    ASSERT_EQ(NSFItemInfo(note, "Body", 4, &body, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(NSFNoteExtractFile(note, body, path.c_str(), nullptr), 0x0109);
    const std::string folder = (install.root / "no" / "such" / "x").string();
    EXPECT_EQ(NSFNoteExtractFile(note, item, folder.c_str(), nullptr), 0x0117);
}

struct TextCase {
    const char* item; // item name
    std::string text; // expected text
    uint16_t length;  // expected answer
};

class ItemTextTest : public ItemTest, public testing::WithParamInterface<TextCase> {};

TEST_P(ItemTextTest, ReadsItemsAsText) {
    char buffer[128];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(NSFItemGetText(note, GetParam().item, buffer, sizeof buffer), GetParam().length);
    EXPECT_EQ(std::string(buffer, GetParam().text.size() + 1), GetParam().text + '\0');
}

INSTANTIATE_TEST_SUITE_P(
    Items, ItemTextTest,
    testing::Values(TextCase{"Subject", "Review \x82", 8},
                    TextCase{"ATTENDEES", "CN=Bo Chen/O=Acme;CN=Cy Diaz/O=Acme", 35},
                    TextCase{"Count", "3", 1}, TextCase{"Ratio", "2.5", 3},
                    TextCase{"Tenth", "0.1", 3},
                    TextCase{"StartDateTime", "12/07/2026 09:00:00", 19},
                    TextCase{"Dates", "12/07/2026 09:00:00;12/08/2026 09:30:00", 39},
                    TextCase{"Nul", std::string("a\0b", 3), 3}, TextCase{"Body", "", 0},
                    TextCase{"$FILE", "", 0}, TextCase{"Missing", "", 0}));

TEST_F(ItemTest, CutsTextToTheBufferAndAnswersTheWholeLength) {
    char buffer[5];
    EXPECT_EQ(NSFItemGetText(note, "Attendees", buffer, sizeof buffer), 35u);
    EXPECT_STREQ(buffer, "CN=B");
    char list[64];
    EXPECT_EQ(NSFItemConvertToText(note, "Dates", list, sizeof list, ','), 39u);
    EXPECT_STREQ(list, "12/07/2026 09:00:00,12/08/2026 09:30:00");
}

TEST_F(ItemTest, ReadsTimeItems) {
    TIMEDATE start = {}, first = {};
    ASSERT_EQ(NSFItemGetTime(note, "StartDateTime", &start), 1);
    ASSERT_EQ(NSFItemGetTime(note, "Dates", &first), 1);
    EXPECT_EQ(TimeDateCompare(&start, &first), 0);
    TIMEDATE untouched = {{1, 2}};
    EXPECT_EQ(NSFItemGetTime(note, "Subject", &untouched), 0);
    EXPECT_EQ(NSFItemGetTime(note, "Missing", &untouched), 0);
    EXPECT_EQ(untouched.Innards[0], 1u);
}

TEST_F(ItemTest, ConvertsOnlyTextAndRichText) {
    BLOCKID value = {};
    uint32_t length = 0;
    ASSERT_EQ(NSFItemInfo(note, "Subject", 7, nullptr, nullptr, &value, &length), 0);
    DHANDLE text = 0;
    uint32_t textLength = 0;
    ASSERT_EQ(ConvertItemToText(value, length, "\r\n", 100, &text, &textLength, 1), 0);
    EXPECT_EQ(BlockBytes(text, textLength), "Review \x82");
    EXPECT_EQ(OSMemFree(text), 0);
    ASSERT_EQ(NSFItemInfo(note, "Count", 5, nullptr, nullptr, &value, &length), 0);
    text = 7;
    EXPECT_EQ(ConvertItemToText(value, length, "\r\n", 100, &text, &textLength, 1), 0x0112);
    EXPECT_EQ(text, 7u);
    EXPECT_EQ(ConvertItemToText(value, length + 1, "\r\n", 100, &text, &textLength, 1), 0x0109);
}

struct WrapCase {
    const char* name;      // test name
    const char* richText;  // the item's paragraphs, as in a database file
    uint16_t charsPerLine; // the line limit
    int stripTabs;         // the last argument
    std::string expected;  // the text, "|" for the delimiter
};

class WrapTest : public testing::TestWithParam<WrapCase> {};

TEST_P(WrapTest, BreaksLongParagraphsAtBlanks) {
    TempInstall install;
    install.WriteStandard();
    install.Write("data/wrap.nsf",
                  std::string("{\"notes\": [{\"items\": [[\"Body\", {\"richtext\": \"") +
                      GetParam().richText + "\"}]]}]}");
    ASSERT_EQ(install.Start(), 0);
    DBHANDLE db = 0;
    NOTEHANDLE note = 0;
    ASSERT_EQ(NSFDbOpen("wrap.nsf", &db), 0);
    ASSERT_EQ(NSFNoteOpenExt(db, 4, 0, &note), 0);
    BLOCKID value = {};
    uint32_t length = 0;
    ASSERT_EQ(NSFItemInfo(note, "Body", 4, nullptr, nullptr, &value, &length), 0);
    DHANDLE text = 0;
    uint32_t textLength = 0;
    ASSERT_EQ(ConvertItemToText(value, length, "|", GetParam().charsPerLine, &text, &textLength,
                                GetParam().stripTabs),
              0);
    EXPECT_EQ(BlockBytes(text, textLength), GetParam().expected);
    EXPECT_EQ(OSMemFree(text), 0);
    EXPECT_EQ(NSFNoteClose(note), 0);
    EXPECT_EQ(NSFDbClose(db), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, WrapTest,
    testing::Values(WrapCase{"Paragraphs", "one\\ntwo\\n\\nfour", 100, 1, "one|two||four"},
                    WrapCase{"Empty", "", 100, 1, ""},
                    WrapCase{"ExactlyTheLimit", "one two", 7, 1, "one two"},
                    WrapCase{"BlankAtTheLimit", "one two three", 7, 1, "one two|three"},
                    WrapCase{"NoBlank", "abcdefghij", 4, 1, "abcd|efgh|ij"},
                    WrapCase{"BlankThenLong", "ab cdefghij", 4, 1, "ab|cdef|ghij"},
                    WrapCase{"LeadingBlankIsNoBreak", " abcdef", 3, 1, " ab|cde|f"},
                    WrapCase{"CountsCharactersNotBytes", "\\u00e9\\u20ac\\u00e9\\u20acab", 4, 1,
                             "\x82\x14\x20\xAC\x82\x14\x20\xAC|ab"},
                    WrapCase{"StripsTabs", "a\\tb", 100, 1, "ab"},
                    WrapCase{"KeepsTabs", "a\\tb", 100, 0, "a\tb"}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
