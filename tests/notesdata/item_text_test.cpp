// Item texts into bounded buffers, rich-text and MIME bodies, texts made for the runtime, and
// names in LMBCS text split into attendees and keys.
#include "notes_data_fixture.h"
#include "notescontact.h"
#include "notesitems.h"
#include "notesmime.h"
#include "notestext.h"

#include "rk/convert.h"

namespace {

using korvo_test::Case;
using korvo_test::NotesDataTest;

// The item of note 200 (or 100 for "Nul" and "Gone") read into a 256-byte buffer.
template <const char* name> std::string Item(NotesDataTest& test) {
    const NOTEID note = name[0] == 'F' || name[0] == 'D' ? 200 : 100;
    GetTextByNoteItem(test.OpenNote(note), name, test.m_body.data(), 256);
    return test.m_body.data();
}

// GetCompositeTextByNoteItem's answer and text.
template <NOTEID note> std::string Body(NotesDataTest& test) {
    const int result = GetCompositeTextByNoteItem(test.OpenNote(note), test.m_body.data());
    return std::to_string(result) + ":" + test.m_body.data();
}

template <NOTEID note> std::string Mime(NotesDataTest& test) {
    GetBodyMIMEText(test.OpenNote(note, OPEN_RAW_MIME), test.m_body.data());
    return test.m_body.data();
}

// The LMBCS and the UTF-8 blocks made from text, with their NULs.
std::string Blocks(const CString& text) {
    TextEntry lmbcs;
    TextEntry utf8;
    ConstructNotesLMBCSTextFromCString(text, lmbcs);
    ConstructUTF8TextFromCString(text, utf8);
    return std::string(lmbcs.c_str(), lmbcs.length + 1) +
           std::string(utf8.c_str(), utf8.length + 1);
}

// The first 61439 bytes of note 200's body as the runtime converts it.
std::string LongBody() {
    std::string text;
    for (int line = 0; text.size() < kBodyBufferSize; ++line)
        text += std::string(99, static_cast<char>('a' + line % 26)) + "\r\n";
    return "1:" + text.substr(0, kBodyBufferSize - 1);
}

std::string Overflow(const char* item) {
    return std::string("Text buffer is not enough for note item[") + item +
           "], STACK Buffer Overflow!!";
}

constexpr char kFit[] = "Fit", kFull[] = "Full", kDouble[] = "Double", kNul[] = "Nul",
               kGone[] = "Gone";
const char kBufferFull[] = "Text buffer is not enough !!";
const std::string kBoth = "plain text|<p>caf\xC3\xA9</p>", kHtml = "<p>caf\xC3\xA9</p>";

INSTANTIATE_TEST_SUITE_P(
    Items, NotesDataTest,
    ::testing::Values(
        Case("Fits", nullptr, Item<kFit>, std::string(255, 'x'), {}),
        Case("Full", nullptr, Item<kFull>, std::string(255, 'y'), {Overflow(kFull)}),
        Case("Double", nullptr, Item<kDouble>, std::string(255, 'z'), {Overflow(kDouble)}),
        Case("Nul", nullptr, Item<kNul>, "ab", {}),
        Case("TextFails", "NSFItemGetText@1=1", Item<kFit>, "", {}),
        Case("Missing", nullptr, Item<kGone>, "", {"Find no Note Item[Gone] !!"}),
        Case("ThreeBodies", nullptr, Body<100>, "1:First paragraphSecond\r\nparagraphThird", {}),
        Case("LongBody", nullptr, Body<200>, LongBody(), {kBufferFull}),
        Case("NoBody", nullptr, Body<116>, "0:", {"Fail to get text for note item[Body]!!"}),
        Case("ConvertFails", "ConvertItemToText@2=0x0404", Body<100>, "0:First paragraph",
             {"GetTextByBlockID---ConvertItemToText", "Fail to get rich text by block id !!"}),
        Case("NextFails", "NSFItemInfoNext@2=0x0404", Body<100>,
             "0:First paragraphSecond\r\nparagraph", {"NSFItemInfo---NSFItemInfoNext"}),
        Case("NoNextItem", "NSFItemInfoNext@1=0x0222", Body<100>, "1:First paragraph", {}),
        Case("MimeTextParts", nullptr, Mime<104>, kBoth, {}),
        Case("MimeLatin1", nullptr, Mime<108>,
             "Gr\xFC\xDF"
             "e",
             {}),
        Case("MimeNoText", nullptr, Mime<112>, "", {"This MIME part [type=122] has no text."}),
        Case("MimeLong", nullptr, Mime<204>, std::string(61439, 'm'), {kBufferFull}),
        Case("NoFlags", "MIMEGetEntityPartFlags@1=1", Mime<104>, kHtml, {"MIMEGetEntityPartFlags"}),
        Case("NoCharset", "MIMEEntityGetTypeParam@1=1", Mime<104>, kBoth,
             {"MIMEEntityGetTypeParam"}),
        Case("NoCharsetDecodes", "MIMEEntityGetTypeParam@1=1,MIMEGetDecodedEntityData@1=1",
             Mime<108>, "", {"MIMEEntityGetTypeParam", "MIMEGetDecodedEntityData"}),
        Case("NoPlainData", "MIMEGetEntityData@1=1", Mime<104>, kHtml,
             {"MIMEGetDecodedEntityData"}),
        Case("NoDecodedData", "MIMEGetDecodedEntityData@1=1", Mime<104>, "plain text|",
             {"MIMEGetDecodedEntityData"}),
        Case("NoNext", "MIMEIterateNext@3=1", Mime<104>, "plain text|", {"MIMEIterateNext"}),
        Case("EmptyText", nullptr, [](NotesDataTest&) { return Blocks(KORVO_W("")); },
             std::string(2, '\0'), {}),
        Case("Western", nullptr, [](NotesDataTest&) { return Blocks(KORVO_W("caf\u00E9 \u20AC")); },
             std::string("caf\x82 \x14\x20\xAC\0caf\xC3\xA9 \xE2\x82\xAC\0", 19), {}),
        // More than the runtime translates in one call, split between whole characters.
        Case("LongText", nullptr,
             [](NotesDataTest&) { return Blocks(CString(40000, 0xE9)).substr(0, 40001); },
             std::string(40000, '\x82') + '\0', {}),
        Case("TextEntry", nullptr,
             [](NotesDataTest&) {
                 TextEntry entry;
                 ConstructTextEntry("a\0b", 3, entry);
                 const std::string copy(entry.c_str(), entry.length + 1);
                 ConstructTextEntry(nullptr, 5, entry);
                 ConstructTextEntry("x", 0, entry);
                 return copy + (entry.text ? "block" : "none");
             },
             std::string("a\0b\0none", 8), {"Invalid parameter !!", "Invalid parameter !!"})),
    korvo_test::RowName<Case>);

// Text translated by the runtime: UTF-8 into LMBCS (Lmbcs) and back (FromLmbcs).
std::string Translate(uint16_t mode, const std::string& text) {
    char out[1024];
    return std::string(
        out, OSTranslate(mode, text.data(), static_cast<uint16_t>(text.size()), out, sizeof out));
}
std::string Lmbcs(const std::string& utf8) {
    return Translate(OS_TRANSLATE_UTF8_TO_LMBCS, utf8);
}
std::string FromLmbcs(const std::string& lmbcs) {
    return Translate(OS_TRANSLATE_LMBCS_TO_UTF8, lmbcs);
}

// LMBCS text that the library widened from the ANSI code page, in UTF-8.
std::string FromLmbcs(const CString& ansi) {
    std::string lmbcs;
    RK::_cstring_set(lmbcs, 0, ansi.c_str(), static_cast<unsigned>(ansi.size()));
    return FromLmbcs(lmbcs);
}

// The key of a name given in UTF-8, in UTF-8.
std::string Key(const std::string& utf8) {
    char key[256];
    GetStringKeyOfNotesDisplayName(Lmbcs(utf8).c_str(), key);
    return FromLmbcs(std::string(key));
}

// The required attendees of note 212 as "key|name" lines; no address book knows them.
std::string Attendees(NotesDataTest& test) {
    std::vector<AttendeeInfo> attendees;
    test.m_calendar.GetAttendeeNameFromList(test.OpenNote(korvo_test::kAttendeesNote), 0,
                                            attendees);
    CNotesContacts::DestroyInstance();
    std::string lines;
    for (const AttendeeInfo& attendee : attendees)
        lines += FromLmbcs(attendee.key) + "|" + FromLmbcs(attendee.name) + "\n";
    return lines;
}

const std::string kPavel = "\u041F\u0430\u0432\u0435\u043B \u041E\u0440\u043B\u043E\u0432";
const char kNoBook[] = "invalid database handle!!"; // a search of an address book not open
const std::string kYaroslav =
    "\u042F\u0440\u043E\u0441\u043B\u0430\u0432 \u041F\u0435\u0442\u0440\u043E\u0432";

// Separator bytes inside LMBCS characters: л (04 3B) holds ";", Я (04 2F) "/", р (04 40) "@",
// 䍎 (43 4E) "CN".
INSTANTIATE_TEST_SUITE_P(
    Names, NotesDataTest,
    ::testing::Values(
        Case("CyrillicAttendees", nullptr, Attendees,
             kPavel + "|" + korvo_test::kCyrillicName + "\nBo Chen|CN=Bo Chen/O=Acme\n",
             {kNoBook, kNoBook,
              "fail to get Attendee (" + Lmbcs(korvo_test::kCyrillicName) + "), Key (" +
                  Lmbcs(kPavel) + ")",
              kNoBook, kNoBook, "fail to get Attendee (CN=Bo Chen/O=Acme), Key (Bo Chen)"}),
        Case("CyrillicCommonName", nullptr,
             [](NotesDataTest&) { return Key("CN=" + kYaroslav + "/O=Acme"); }, kYaroslav, {}),
        Case("CyrillicBeforeSemicolon", nullptr,
             [](NotesDataTest&) { return Key(kPavel + ";Acme"); }, kPavel, {}),
        Case("CommonNameInsideCharacter", nullptr,
             [](NotesDataTest&) { return Key("\u434E=Ann/O=Acme"); }, "\u434E=Ann/O=Acme", {})),
    korvo_test::RowName<Case>);

} // namespace
