// Item texts into bounded buffers, rich-text and MIME bodies, and texts made for the runtime.
#include "notes_data_fixture.h"
#include "notesitems.h"
#include "notesmime.h"
#include "notestext.h"

#include <memory>

namespace {

using korvo_test::Messages;
using korvo_test::TakeTraceLines;
using Strings = std::vector<std::string>;

class ItemTextTest : public korvo_test::NotesDataTest {
  protected:
    std::unique_ptr<char[]> m_body{new char[kBodyBufferSize]()}; // a body buffer
};

struct ItemRow {
    NOTEID note;      // where the item is
    const char* item; // its name
    uint16_t size;    // the buffer's size
    std::string text; // what the buffer holds afterwards
    Strings messages; // what is logged
};

class ItemRowTest : public ItemTextTest, public ::testing::WithParamInterface<ItemRow> {};

TEST_P(ItemRowTest, CutsToTheBufferAndDropsNulBytes) {
    const ItemRow& row = GetParam();
    GetTextByNoteItem(OpenNote(row.note), row.item, m_body.get(), row.size);
    EXPECT_EQ(std::string(m_body.get()), row.text);
    EXPECT_EQ(Messages(TakeTraceLines()), row.messages);
}

std::string Overflow(const char* item) {
    return std::string("Text buffer is not enough for note item[") + item +
           "], STACK Buffer Overflow!!";
}

INSTANTIATE_TEST_SUITE_P(
    Items, ItemRowTest,
    ::testing::Values(ItemRow{200, "Fit", 256, std::string(255, 'x'), {}},
                      ItemRow{200, "Full", 256, std::string(255, 'y'), {Overflow("Full")}},
                      ItemRow{200, "Double", 256, std::string(255, 'z'), {Overflow("Double")}},
                      ItemRow{100, "Subject", 8, "Design ", {Overflow("Subject")}},
                      ItemRow{100, "Nul", 256, "ab", {}},
                      ItemRow{100, "Missing", 256, "", {"Find no Note Item[Missing] !!"}}));

struct BodyRow {
    NOTEID note;      // the note read
    uint32_t flags;   // how it is opened
    int result;       // GetCompositeTextByNoteItem's answer; -1 to read with GetBodyMIMEText
    std::string text; // the buffer afterwards
    Strings messages; // what is logged
};

class BodyRowTest : public ItemTextTest, public ::testing::WithParamInterface<BodyRow> {};

TEST_P(BodyRowTest, GathersTheBodyText) {
    const BodyRow& row = GetParam();
    const NOTEHANDLE note = OpenNote(row.note, row.flags);
    if (row.result < 0)
        GetBodyMIMEText(note, m_body.get());
    else
        EXPECT_EQ(GetCompositeTextByNoteItem(note, m_body.get()), row.result);
    EXPECT_EQ(std::string(m_body.get()), row.text);
    EXPECT_EQ(Messages(TakeTraceLines()), row.messages);
}

std::string LongBody() {
    std::string text;
    for (int line = 0; text.size() < kBodyBufferSize - 1; ++line)
        text += (line > 0 ? "\r\n" : "") + std::string(99, static_cast<char>('a' + line % 26));
    return text.substr(0, kBodyBufferSize - 1);
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, BodyRowTest,
    ::testing::Values(BodyRow{100, 0, 1, "First paragraphSecond\r\nparagraphThird", {}},
                      BodyRow{200, 0, 1, LongBody(), {"Text buffer is not enough !!"}},
                      BodyRow{104, 0, 1, "plain text|", {}},
                      BodyRow{116, 0, 0, "", {"Fail to get text for note item[Body]!!"}},
                      BodyRow{104, OPEN_RAW_MIME, -1, "plain text|<p>caf\xC3\xA9</p>", {}},
                      BodyRow{108,
                              OPEN_RAW_MIME,
                              -1,
                              "Gr\xFC\xDF"
                              "e",
                              {}},
                      BodyRow{204,
                              OPEN_RAW_MIME,
                              -1,
                              std::string(kBodyBufferSize - 1, 'm'),
                              {"Text buffer is not enough !!"}}));

TEST_F(ItemTextTest, MimeBodyWithoutTextParts) {
    GetBodyMIMEText(OpenNote(112, OPEN_RAW_MIME), m_body.get());
    EXPECT_STREQ(m_body.get(), "");
    const auto trace = TakeTraceLines();
    ASSERT_EQ(trace.size(), 1u);
    EXPECT_EQ(trace[0].level, 2);
    EXPECT_EQ(trace[0].message.rfind("This MIME part [type=", 0), 0u) << trace[0].message;
}

struct ConstructRow {
    CString text;      // the host text
    std::string lmbcs; // ConstructNotesLMBCSTextFromCString's bytes
    std::string utf8;  // ConstructUTF8TextFromCString's bytes
};

class ConstructTest : public ItemTextTest, public ::testing::WithParamInterface<ConstructRow> {};

TEST_P(ConstructTest, MakesTerminatedBlocks) {
    const ConstructRow& row = GetParam();
    TextEntry lmbcs;
    ConstructNotesLMBCSTextFromCString(row.text, lmbcs);
    ASSERT_TRUE(lmbcs.text);
    EXPECT_EQ(std::string(lmbcs.text.get(), lmbcs.length + 1), row.lmbcs + '\0');
    TextEntry utf8;
    ConstructUTF8TextFromCString(row.text, utf8);
    ASSERT_TRUE(utf8.text);
    EXPECT_EQ(std::string(utf8.text.get(), utf8.length + 1), row.utf8 + '\0');
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ConstructTest,
    ::testing::Values(ConstructRow{KORVO_W(""), "", ""},
                      ConstructRow{KORVO_W("caf\u00E9 \u20AC"), "caf\x82 \x14\x20\xAC",
                                   "caf\xC3\xA9 \xE2\x82\xAC"},
                      ConstructRow{CString(40000, u'\u00E9'), std::string(40000, '\x82'), [] {
                                       std::string text;
                                       for (int i = 0; i < 40000; ++i)
                                           text += "\xC3\xA9";
                                       return text;
                                   }()}));

TEST_F(ItemTextTest, TextEntryCopiesBytesOrRefuses) {
    TextEntry entry;
    ConstructTextEntry("a\0b", 3, entry);
    EXPECT_EQ(std::string(entry.text.get(), 4), std::string("a\0b\0", 4));
    ConstructTextEntry(nullptr, 5, entry);
    EXPECT_FALSE(entry.text);
    ConstructTextEntry("x", 0, entry);
    EXPECT_EQ(entry.length, 0u);
    EXPECT_EQ(Messages(TakeTraceLines()), Strings(2, "Invalid parameter !!"));
}

} // namespace
