// Database files written back: any bytes become the mail file of a small installation; a file
// that loads gets its first note changed (its Subject set) and a new note added through the
// runtime's calls, and is then loaded again in a fresh runtime. Checked:
// - a file that does not load is refused as damaged and left as it was;
// - both updates succeed, and the runtime's model after them is the file's: the same notes;
// - the file loads again with one note more, the changed and the added note carry their
//   Subject, and every other note reads back as it was;
// - the text outside the changed note is the file's old text: the part before the first note,
//   the other notes and what follows the last one;
// - no temporary or lock file is left beside it, and the runtime holds nothing open.
#include "dbload.h"
#include "notejson.h"
#include "notesrt_testing.h"
#include "scratch_folder.h"
#include "status.h"

#include <stdlib.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;
using notesrt::Model;

constexpr char kChanged[] = "Changed"; // the first note's new Subject
constexpr char kAdded[] = "Added";     // the new note's Subject

class Installation : public korvo_fuzz::ScratchFolder {
  public:
    Installation() : ScratchFolder("write") {
        setenv("TZ", "America/New_York", 1);
        Write("notes.ini", "KeyFileName=user.id\nMailFile=fuzz.nsf\n");
        Write("user.id", "CN=Fuzz Lee/O=Acme\n");
    }
    std::string Read(const std::string& relative) const {
        std::ifstream in(Root() / relative, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
};

const Installation& TheInstallation() {
    static const Installation installation;
    return installation;
}

void Require(bool condition) {
    if (!condition)
        std::abort();
}

// Sets the Subject of note and stores it.
void Store(NOTEHANDLE note, const char* subject) {
    Require(MailAddHeaderItem(note, MAIL_SUBJECT_ITEM_NUM, subject,
                              static_cast<uint16_t>(std::strlen(subject))) == 0);
    Require(NSFNoteUpdate(note, 0) == 0);
}

void ChangeAndAdd(DBHANDLE db, const Model& before) {
    if (!before.Notes().empty()) {
        NOTEHANDLE first = 0;
        Require(NSFNoteOpenExt(db, before.Notes()[0].noteId, OPEN_RAW_MIME, &first) == 0);
        Store(first, kChanged);
        Require(NSFNoteClose(first) == 0);
    }
    NOTEHANDLE added = 0;
    Require(MailCreateMessage(db, &added) == 0);
    Store(added, kAdded);
    Require(MailCloseMessage(added) == 0);
}

STATUS LNCALLBACK CountNote(void* count, SEARCH_MATCH*, ITEM_TABLE*) {
    ++*static_cast<size_t*>(count);
    return 0;
}

// The notes the runtime shows in a new handle on the file.
size_t NotesShown() {
    DBHANDLE db = 0;
    Require(NSFDbOpen("fuzz.nsf", &db) == 0);
    size_t count = 0;
    Require(NSFSearch(db, 0, nullptr, 0, NOTE_CLASS_DOCUMENT | NOTE_CLASS_VIEW, nullptr, CountNote,
                      &count, nullptr) == 0);
    Require(NSFDbClose(db) == 0);
    return count;
}

// Note position of db as a database file writes it.
std::string NoteText(const notesrt::Database& db, size_t position) {
    nlohmann::ordered_json object;
    std::string problem;
    Require(notesrt::NoteToJson(db.notes.at(position), object, problem));
    return object.dump();
}

std::string SubjectOf(const Model& model, size_t position) {
    const notesrt::NoteRecord& note = model.Notes().at(position);
    size_t item = 0;
    Require(model.FindItem(note, "Subject", 0, item));
    return std::string(model.ItemAt(note, item).data);
}

std::string Between(const std::string& text, uint64_t begin, uint64_t end) {
    return text.substr(begin, end - begin);
}

// The text before the notes and after them is the old text; so is every note but the first.
void CheckWritten(const std::string& old, const Model& before, const std::string& text) {
    Model after;
    std::string problem;
    Require(notesrt::LoadModel(text, after, problem));
    const size_t count = before.Notes().size();
    Require(after.Notes().size() == count + 1);
    Require(SubjectOf(after, count) == kAdded);
    const notesrt::FileLayout& was = before.layout;
    const notesrt::FileLayout& is = after.layout;
    if (count == 0 && was.notesGiven) {
        Require(Between(text, 0, is.notesList.begin) == Between(old, 0, was.notesList.begin));
        Require(Between(text, is.notesList.end, text.size()) ==
                Between(old, was.notesList.end, old.size()));
        return;
    }
    if (count == 0) {
        const size_t kept = old.find_last_not_of(" \t\r\n", was.rootEnd - 1) + 1;
        Require(text.compare(0, kept, old, 0, kept) == 0);
        Require(Between(text, is.rootEnd, text.size()) == Between(old, was.rootEnd, old.size()));
        return;
    }
    Require(SubjectOf(after, 0) == kChanged);
    Require(Between(text, 0, is.notes[0].begin) == Between(old, 0, was.notes[0].begin));
    Require(Between(text, is.notes[count].end, text.size()) ==
            Between(old, was.notes[count - 1].end, old.size()));
    const notesrt::Database beforeNotes = notesrt::ExpandModel(before);
    const notesrt::Database afterNotes = notesrt::ExpandModel(after);
    for (size_t i = 1; i < count; ++i) {
        Require(NoteText(afterNotes, i) == NoteText(beforeNotes, i));
        Require(Between(text, is.notes[i].begin, is.notes[i].end) ==
                Between(old, was.notes[i].begin, was.notes[i].end));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Installation& installation = TheInstallation();
    const std::string old(reinterpret_cast<const char*>(data), size);
    Model before;
    std::string problem;
    const bool loads = notesrt::LoadModel(old, before, problem);

    installation.Write("fuzz.nsf", old);
    Require(installation.StartRuntime() == 0);
    DBHANDLE db = 0;
    const STATUS opened = NSFDbOpen("fuzz.nsf", &db);
    Require(loads ? opened == 0 : ERR(opened) == notesrt::kErrDatabaseDamaged);
    if (loads) {
        ChangeAndAdd(db, before);
        Require(NSFDbClose(db) == 0);
        Require(NotesShown() == before.Notes().size() + 1);
    }
    Require(korvo_fuzz::RuntimeHoldsNothing());
    Require(installation.StartRuntime() == 0);
    const std::string text = installation.Read("fuzz.nsf");
    if (loads) {
        Require(NotesShown() == before.Notes().size() + 1);
        CheckWritten(old, before, text);
    } else {
        Require(text == old);
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(installation.Root())) {
        const std::string name = entry.path().filename().string();
        Require(name == "notes.ini" || name == "user.id" || name == "fuzz.nsf");
    }
    NotesrtReset();
    return 0;
}
