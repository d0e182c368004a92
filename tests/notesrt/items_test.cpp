// Items: locating them, their value blocks, reading them as text and times, converting rich
// text, extracting attached files; MIME bodies: the directory walk, entity data and its
// memory, and the rich-text view of a note opened without OPEN_RAW_MIME.
#include "temp_install.h"

#include <cstring>
#include <vector>

namespace {

class ItemTest : public NotesDatabaseTest {
  protected:
    void SetUp() override {
        NotesDatabaseTest::SetUp();
        note = Open(100);
    }
    void TearDown() override {
        EXPECT_EQ(NSFNoteClose(note), 0);
        NotesDatabaseTest::TearDown();
    }

    NOTEHANDLE note = 0; // note 100
};

template <typename T> T ReadAt(const std::string& bytes, size_t offset) {
    T value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

// The first item name of note converted by ConvertItemToText (delimiter, charsPerLine,
// stripTabs), or "status N" when the call fails; a failed call must leave the handle alone.
std::string Converted(NOTEHANDLE note, const char* name, const char* delimiter = "\r\n",
                      uint16_t charsPerLine = 100, int stripTabs = 1) {
    BLOCKID value = {};
    uint32_t length = 0;
    if (NSFItemInfo(note, name, static_cast<uint16_t>(std::strlen(name)), nullptr, nullptr, &value,
                    &length) != 0)
        return "no item";
    DHANDLE text = 7;
    uint32_t textLength = 0;
    const STATUS status =
        ConvertItemToText(value, length, delimiter, charsPerLine, &text, &textLength, stripTabs);
    if (status != 0)
        return "status " + std::to_string(status) + (text == 7 ? "" : " with a handle");
    const std::string converted = BlockBytes(text, textLength);
    EXPECT_EQ(OSMemFree(text), 0);
    return converted;
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

TEST_F(ItemTest, ExtractsAttachedFilesOnly) {
    BLOCKID item = {}, value = {};
    uint16_t type = 0;
    ASSERT_EQ(NSFItemInfo(note, "$FILE", 5, &item, &type, &value, nullptr), 0);
    EXPECT_EQ(type, TYPE_OBJECT); // its descriptor is read by the contacts suite's photo rows
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
    const char* item;      // item name
    std::string text;      // expected text
    uint16_t length;       // expected answer: the whole text's length
    uint16_t size = 128;   // the buffer's size
    char separator = '\0'; // the list separator of NSFItemConvertToText; 0: NSFItemGetText
};

class ItemTextTest : public ItemTest, public testing::WithParamInterface<TextCase> {};

TEST_P(ItemTextTest, ReadsItemsAsText) {
    char buffer[128];
    std::memset(buffer, 'x', sizeof buffer);
    const TextCase& row = GetParam();
    EXPECT_EQ(row.separator == '\0'
                  ? NSFItemGetText(note, row.item, buffer, row.size)
                  : NSFItemConvertToText(note, row.item, buffer, row.size, row.separator),
              row.length);
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
                    TextCase{"$FILE", "", 0}, TextCase{"Missing", "", 0},
                    TextCase{"Attendees", "CN=B", 35, 5},
                    TextCase{"Dates", "12/07/2026 09:00:00,12/08/2026 09:30:00", 39, 64, ','}));

TEST_F(ItemTest, ConvertsOnlyTextAndRichText) {
    EXPECT_EQ(Converted(note, "Subject"), "Review \x82");
    EXPECT_EQ(Converted(note, "Count"), "status 274");
    BLOCKID value = {};
    uint32_t length = 0;
    ASSERT_EQ(NSFItemInfo(note, "Subject", 7, nullptr, nullptr, &value, &length), 0);
    DHANDLE text = 0;
    uint32_t textLength = 0;
    EXPECT_EQ(ConvertItemToText(value, length + 1, "\r\n", 100, &text, &textLength, 1), 0x0109);
}

struct WrapCase {
    const char* name;      // test name
    const char* richText;  // the item's paragraphs, as in a database file
    uint16_t charsPerLine; // the line limit
    int stripTabs;         // the last argument
    std::string expected;  // the text, "|" for the delimiter
};

class WrapTest : public OpenDatabaseTest, public testing::WithParamInterface<WrapCase> {};

TEST_P(WrapTest, BreaksLongParagraphsAtBlanks) {
    OpenWith("wrap.nsf", std::string("{\"notes\": [{\"items\": [[\"Body\", {\"richtext\": \"") +
                             GetParam().richText + "\"}]]}]}");
    const NOTEHANDLE note = Open(4);
    EXPECT_EQ(Converted(note, "Body", "|", GetParam().charsPerLine, GetParam().stripTabs),
              GetParam().expected);
    EXPECT_EQ(NSFNoteClose(note), 0);
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

class MimeTest : public NotesDatabaseTest {
  protected:
    // What the walk finds at one entity: "discrete multipart type subtype part-flags charset
    // data". The blocks the calls hand out are the caller's and are freed here.
    static std::string Read(NOTEHANDLE note, PMIMEENTITY entity) {
        DWORD flags = 99;
        EXPECT_EQ(MIMEGetEntityPartFlags(note, entity, &flags), 0);
        std::string charset = "-";
        DHANDLE handle = 0;
        DWORD length = 0;
        if (MIMEEntityGetTypeParam(entity, MIME_SYMBOL_CHARSET, &handle, &length) == 0) {
            charset = BlockBytes(handle, length + 1);
            EXPECT_EQ(charset.back(), '\0');
            charset.pop_back();
            EXPECT_EQ(OSMemFree(handle), 0);
        }
        DWORD encoded = 0;
        EXPECT_EQ(MIMEGetDecodedEntityData(note, entity, 0, 0xFFFFFFFF, &handle, &length, &encoded),
                  0);
        EXPECT_EQ(encoded, length);
        const std::string data = BlockBytes(handle, length);
        EXPECT_EQ(OSMemFree(handle), 0);
        return std::to_string(MIMEEntityIsDiscretePart(entity)) + " " +
               std::to_string(MIMEEntityIsMultiPart(entity)) + " " +
               std::to_string(MIMEEntityContentType(entity)) + " " +
               std::to_string(MIMEEntityContentSubtype(entity)) + " " + std::to_string(flags) +
               " " + charset + " " + data;
    }
};

TEST_F(MimeTest, WalksTheEntitiesDepthFirst) {
    const NOTEHANDLE note = Open(200, OPEN_RAW_MIME);
    HMIMEDIRECTORY directory = 0;
    ASSERT_EQ(MIMEOpenDirectory(note, &directory), 0);
    PMIMEENTITY root = nullptr;
    ASSERT_EQ(MIMEGetRootEntity(directory, &root), 0);
    std::vector<std::string> walked;
    for (PMIMEENTITY entity = root; entity != nullptr;) {
        walked.push_back(Read(note, entity));
        ASSERT_EQ(MIMEIterateNext(directory, root, entity, &entity), 0);
    }
    const auto kind = [](const char* shape, MIMESYMBOL type, MIMESYMBOL subtype, DWORD flags) {
        return std::string(shape) + " " + std::to_string(type) + " " + std::to_string(subtype) +
               " " + std::to_string(flags) + " ";
    };
    const std::vector<std::string> expected = {
        kind("0 1", MIME_SYMBOL_MULTIPART, MIME_SYMBOL_MIXED, 0) + "- ",
        kind("0 1", MIME_SYMBOL_MULTIPART, MIME_SYMBOL_ALTERNATIVE, 0) + "- ",
        kind("1 0", MIME_SYMBOL_TEXT, MIME_SYMBOL_PLAIN, 0) + "US-ASCII plain line\r\nsecond",
        kind("1 0", MIME_SYMBOL_TEXT, MIME_SYMBOL_HTML, 0) + "UTF-8 <b>html</b>",
        kind("1 0", MIME_SYMBOL_IMAGE, MIME_SYMBOL_PNG, MIME_PART_BODY_IN_DBOBJECT) + "- \x89PNG",
    };
    EXPECT_EQ(walked, expected);
    EXPECT_EQ(Counts().memoryAllocated, 0u);
    EXPECT_EQ(Counts().mimeDirectories, 1u);

    EXPECT_EQ(MIMEFreeDirectory(directory), 0);
    EXPECT_EQ(MIMEEntityIsDiscretePart(root), 0);
    EXPECT_EQ(MIMEEntityContentSubtype(root), MIME_SYMBOL_UNKNOWN);
    EXPECT_EQ(MIMEFreeDirectory(directory), 0x0108);
    EXPECT_EQ(NSFNoteClose(note), 0);
}

TEST_F(MimeTest, IteratesWithinTheGivenRootAndReadsPiecesOfData) {
    const NOTEHANDLE note = Open(200, OPEN_RAW_MIME);
    HMIMEDIRECTORY directory = 0;
    ASSERT_EQ(MIMEOpenDirectory(note, &directory), 0);
    PMIMEENTITY root = nullptr, alternative = nullptr, plain = nullptr, html = nullptr,
                after = nullptr;
    ASSERT_EQ(MIMEGetRootEntity(directory, &root), 0);
    ASSERT_EQ(MIMEIterateNext(directory, root, root, &alternative), 0);
    ASSERT_EQ(MIMEIterateNext(directory, alternative, nullptr, &after), 0);
    EXPECT_EQ(after, alternative);
    ASSERT_EQ(MIMEIterateNext(directory, alternative, alternative, &plain), 0);
    ASSERT_EQ(MIMEIterateNext(directory, alternative, plain, &html), 0);
    ASSERT_EQ(MIMEIterateNext(directory, alternative, html, &after), 0);
    EXPECT_EQ(after, nullptr);
    EXPECT_EQ(MIMEIterateNext(directory, plain, html, &after), 0x0109);

    DHANDLE data = 0;
    DHANDLE empty = 0;
    DWORD length = 0;
    ASSERT_EQ(MIMEGetEntityData(note, plain, MIME_ENTITY_DATA_BODY, 6, 4, &data, &length), 0);
    ASSERT_EQ(MIMEGetEntityData(note, plain, MIME_ENTITY_DATA_BODY, 100, 4, &empty, &length), 0);
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(MIMEGetEntityData(note, plain, 1, 0, 4, &empty, &length), 0x0109);
    EXPECT_EQ(MIMEEntityGetTypeParam(root, MIME_SYMBOL_CHARSET, &empty, &length), ERR_NOT_FOUND);
    EXPECT_EQ(MIMEEntityGetTypeParam(plain, MIME_SYMBOL_BOUNDARY, &empty, &length), ERR_NOT_FOUND);

    const NOTEHANDLE other = Open(200, OPEN_RAW_MIME);
    DWORD flags = 0;
    EXPECT_EQ(MIMEGetEntityPartFlags(other, plain, &flags), 0x0109);
    EXPECT_EQ(NSFNoteClose(other), 0);
    EXPECT_EQ(MIMEFreeDirectory(directory), 0);
    EXPECT_EQ(NSFNoteClose(note), 0);
    // The blocks outlive the directory and the note: they are the caller's.
    EXPECT_EQ(BlockBytes(data, 4), "line");
    EXPECT_EQ(OSMemFree(data), 0);
    EXPECT_EQ(OSMemFree(empty), 0);
    EXPECT_EQ(Counts().memoryAllocated, 0u);
}

TEST_F(MimeTest, WithoutTheFlagTheBodyIsRichTextOfTheFirstTextPart) {
    const NOTEHANDLE note = Open(200);
    HMIMEDIRECTORY directory = 7;
    EXPECT_EQ(MIMEOpenDirectory(note, &directory), 0x0113);
    EXPECT_EQ(directory, 7u);
    uint16_t type = 0;
    ASSERT_EQ(NSFItemInfo(note, "Body", 4, nullptr, &type, nullptr, nullptr), 0);
    EXPECT_EQ(type, TYPE_COMPOSITE);
    EXPECT_EQ(Converted(note, "Body"), "plain line\r\nsecond");

    const NOTEHANDLE noMime = Open(100, OPEN_RAW_MIME);
    EXPECT_EQ(MIMEOpenDirectory(noMime, &directory), 0x0113);
    const NOTEHANDLE raw = Open(200, OPEN_RAW_MIME);
    EXPECT_EQ(NSFNoteHasMIMEPart(raw), 1);
    EXPECT_EQ(NSFNoteHasMIMEPart(note), 0);
    EXPECT_EQ(NSFNoteHasMIMEPart(noMime), 0);
    for (NOTEHANDLE open : {note, noMime, raw})
        EXPECT_EQ(NSFNoteClose(open), 0);
    EXPECT_EQ(NSFNoteHasMIMEPart(raw), 0);
}

} // namespace
