// Database files as the runtime loads them: any bytes become the mail file of a small
// installation (in a folder of this process), opened with NSFDbOpen. A database that loads is
// read through the calls the library makes: its identifiers, a search over all notes, every
// note opened by note ID, by UNID and with raw MIME, every item read as text, as a time and
// from its value block, rich text converted, files extracted, MIME entities walked, its views
// found and their entries read in pieces, its calendar rendered and the user's free time
// listed. Checked:
// - the file opens exactly when ParseDatabase accepts its text; a refused file fails as
//   damaged with a text that names the file;
// - no call answers the runtime's internal error (an unexpected exception inside it);
// - the identifiers, note classes, note IDs found by UNID, the notes a search visits and the
//   count of entries read from a view agree with the parsed model and the view's answers;
// - once everything is closed, the runtime holds nothing open.
#include "dbload.h"
#include "identifiers.h"
#include "notesrt_testing.h"
#include "scratch_folder.h"
#include "status.h"

#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using notesrt::Database;
using notesrt::Item;
using notesrt::Note;

// Bounds that keep one input fast whatever its size.
constexpr size_t kMaxNotes = 32;     // notes read per database
constexpr size_t kMaxNames = 24;     // item names read per note
constexpr int kMaxItemsPerName = 8;  // items of one name read per note
constexpr int kMaxEntities = 64;     // MIME entities walked per note
constexpr int kMaxAnswers = 64;      // answers of one request read in pieces
constexpr size_t kMaxViews = 4;      // views read per database
char kUser[] = "CN=Fuzz Lee/O=Acme"; // not const: SchContainer_FindSchedule takes a char*

// The installation: notes.ini naming user.id and the mail file fuzz.nsf, with small answer
// pieces so that every continuation is walked, in New York's zone (it has daylight saving
// time) whatever the machine's.
class Installation : public korvo_fuzz::ScratchFolder {
  public:
    Installation() : ScratchFolder("database") {
        setenv("TZ", "America/New_York", 1);
        Write("notes.ini", "KeyFileName=user.id\nMailFile=fuzz.nsf\nNotesrtCollectionPiece=3\n"
                           "NotesrtCalendarPiece=2\nNotesrtSchedulePiece=2\n");
        Write("user.id", std::string(kUser) + "\n");
    }
    fs::path Path(const std::string& relative) const { return Root() / relative; }
};

const Installation& TheInstallation() {
    static const Installation installation;
    return installation;
}

void Require(bool condition) {
    if (!condition)
        std::abort();
}

// Aborts on the internal error; returns status for the caller to test.
STATUS Checked(STATUS status) {
    Require(ERR(status) != notesrt::kErrInternal);
    return status;
}

TIMEDATE TimeOf(const char* text) {
    char* cursor = const_cast<char*>(text);
    TIMEDATE time = {};
    Require(ConvertTextToTIMEDATE(nullptr, nullptr, &cursor,
                                  static_cast<uint16_t>(std::strlen(text)), &time) == 0);
    return time;
}

void ReadTime(NOTEHANDLE note, const std::string& name) {
    TIMEDATE time;
    if (NSFItemGetTime(note, name.c_str(), &time) == 0)
        return;
    char text[80];
    uint16_t length = 0;
    Checked(ConvertTIMEDATEToText(nullptr, nullptr, &time, text, sizeof text, &length));
    TIME fields = {};
    fields.GM = time;
    TimeGMToLocal(&fields);
}

// Reads one item value from its blocks: the data type in front, the text conversions.
void ReadValue(NOTEHANDLE note, BLOCKID item, uint16_t type, BLOCKID value, uint32_t length) {
    Require(length >= sizeof(uint16_t));
    const char* bytes = OSLockBlock(const char, value);
    Require(bytes != nullptr);
    uint16_t stored;
    std::memcpy(&stored, bytes, sizeof stored);
    Require(stored == type);
    OSUnlockBlock(value);
    const struct {
        const char* delimiter; // between paragraphs
        uint16_t charsPerLine; // where long paragraphs break
        int stripTabs;         // drop tab characters
    } conversions[] = {{"\r\n", 60, 0}, {"|", 1, 1}};
    for (const auto& conversion : conversions) {
        DHANDLE text = 0;
        uint32_t textLength = 0;
        if (Checked(ConvertItemToText(value, length, conversion.delimiter, conversion.charsPerLine,
                                      &text, &textLength, conversion.stripTabs)) != 0)
            continue;
        uint32_t size = 0;
        Require(OSMemGetSize(text, &size) == 0 && size >= textLength);
        Require(OSMemFree(text) == 0);
    }
    if (type == TYPE_OBJECT) {
        const fs::path file = TheInstallation().Path("extracted.bin");
        Checked(NSFNoteExtractFile(note, item, file.c_str(), nullptr));
        std::error_code error;
        fs::remove(file, error);
    }
}

void ReadItems(NOTEHANDLE note, const std::string& name) {
    const auto nameLength = static_cast<uint16_t>(name.size());
    BLOCKID item;
    BLOCKID value;
    uint16_t type = 0;
    uint32_t length = 0;
    STATUS status =
        Checked(NSFItemInfo(note, name.data(), nameLength, &item, &type, &value, &length));
    Require(status == 0);
    for (int read = 0; status == 0 && read < kMaxItemsPerName; ++read) {
        ReadValue(note, item, type, value, length);
        status = Checked(
            NSFItemInfoNext(note, item, name.data(), nameLength, &item, &type, &value, &length));
        Require(status == 0 || ERR(status) == ERR_ITEM_NOT_FOUND);
    }
    if (name.find('\0') != std::string::npos)
        return;
    char text[256];
    NSFItemGetText(note, name.c_str(), text, sizeof text);
    Require(std::memchr(text, '\0', sizeof text) != nullptr);
    NSFItemConvertToText(note, name.c_str(), text, sizeof text, ',');
    Require(std::memchr(text, '\0', sizeof text) != nullptr);
    ReadTime(note, name);
}

void ReadEntity(NOTEHANDLE note, PMIMEENTITY entity) {
    const bool discrete = MIMEEntityIsDiscretePart(entity) != 0;
    Require(discrete || MIMEEntityIsMultiPart(entity) != 0 ||
            MIMEEntityContentType(entity) == MIME_SYMBOL_MESSAGE);
    MIMEEntityContentSubtype(entity);
    DWORD flags = 0;
    Checked(MIMEGetEntityPartFlags(note, entity, &flags));
    DHANDLE charset = 0;
    DWORD charsetLength = 0;
    if (Checked(MIMEEntityGetTypeParam(entity, MIME_SYMBOL_CHARSET, &charset, &charsetLength)) ==
        0) {
        Require(OSLockObject(charset) != nullptr);
        OSUnlockObject(charset);
        Require(OSMemFree(charset) == 0);
    }
    if (!discrete)
        return;
    DHANDLE decoded = 0;
    uint32_t decodedLength = 0;
    uint32_t encodedLength = 0;
    if (Checked(MIMEGetDecodedEntityData(note, entity, 0, 0xFFFFFFFF, &decoded, &decodedLength,
                                         &encodedLength)) != 0)
        return;
    uint32_t size = 0;
    Require(OSMemGetSize(decoded, &size) == 0 && size >= decodedLength);
    Require(OSMemFree(decoded) == 0);
    DHANDLE body = 0;
    DWORD bodyLength = 0;
    Require(MIMEGetEntityData(note, entity, MIME_ENTITY_DATA_BODY, 1, 3, &body, &bodyLength) == 0);
    Require(bodyLength == (decodedLength > 1 ? std::min<uint32_t>(decodedLength - 1, 3) : 0));
    Require(OSMemFree(body) == 0);
}

void ReadMime(NOTEHANDLE note) {
    HMIMEDIRECTORY directory = 0;
    Require(Checked(MIMEOpenDirectory(note, &directory)) == 0);
    PMIMEENTITY root = nullptr;
    Require(MIMEGetRootEntity(directory, &root) == 0 && root != nullptr);
    PMIMEENTITY entity = nullptr;
    for (int walked = 0; walked < kMaxEntities; ++walked) {
        PMIMEENTITY next = nullptr;
        Require(Checked(MIMEIterateNext(directory, root, entity, &next)) == 0);
        if (next == nullptr)
            break;
        ReadEntity(note, next);
        entity = next;
    }
    Require(MIMEFreeDirectory(directory) == 0);
}

// The distinct item names of a note (as the runtime compares them: ignoring ASCII case).
std::vector<std::string> NamesOf(const Note& note) {
    std::vector<std::string> names;
    std::set<std::string> seen;
    for (const Item& item : note.items) {
        std::string key = item.name;
        for (char& c : key)
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        if (seen.insert(key).second && names.size() < kMaxNames)
            names.push_back(item.name);
    }
    return names;
}

void ReadNote(DBHANDLE db, const Note& model, uint32_t flags) {
    NOTEHANDLE note = 0;
    Require(Checked(NSFNoteOpenExt(db, model.noteId, flags, &note)) == 0);
    NOTEID id = 0;
    uint16_t noteClass = 0;
    NSFNoteGetInfo(note, _NOTE_ID, &id);
    NSFNoteGetInfo(note, _NOTE_CLASS, &noteClass);
    Require(id == model.noteId && noteClass == model.noteClass);
    for (const std::string& name : NamesOf(model))
        ReadItems(note, name);
    if ((flags & OPEN_RAW_MIME) != 0 && NSFNoteHasMIMEPart(note))
        ReadMime(note);
    Require(NSFNoteClose(note) == 0);
}

void ReadNotes(DBHANDLE db, const Database& model) {
    for (size_t i = 0; i < model.notes.size() && i < kMaxNotes; ++i) {
        const Note& note = model.notes[i];
        uint16_t noteClass = 0;
        Require(NSFDbGetNoteInfo(db, note.noteId, nullptr, nullptr, &noteClass) == 0 &&
                noteClass == note.noteClass);
        UNID unid = notesrt::UnidOfNote(note);
        NOTEID found = 0;
        Require(NSFDbGetNoteInfoByUNID(db, &unid, &found, nullptr, nullptr, nullptr) == 0 &&
                found == note.noteId);
        ReadNote(db, note, 0);
        ReadNote(db, note, OPEN_RAW_MIME);
        NOTEHANDLE byUnid = 0;
        Require(Checked(NSFNoteOpenByUNID(db, &unid, 0, &byUnid)) == 0);
        Require(NSFNoteClose(byUnid) == 0);
        NOTEHANDLE appointment = 0;
        if (Checked(CalOpenNoteHandle(db, notesrt::UnidToHex(unid).c_str(), nullptr, &appointment,
                                      0, nullptr)) == 0)
            Require(NSFNoteClose(appointment) == 0);
    }
}

// What a search visits.
struct SearchTally {
    const Database* model; // the notes that may be visited
    size_t visited;        // notes visited so far
};

STATUS LNCALLBACK CountMatch(void* parameter, SEARCH_MATCH* match, ITEM_TABLE*) {
    auto* tally = static_cast<SearchTally*>(parameter);
    Require(tally->model->noteIndexById.count(match->ID.NoteID) == 1);
    ++tally->visited;
    return 0;
}

void ReadEntries(HCOLLECTION collection, DBHANDLE db, const std::string& key, uint16_t flags) {
    COLLECTIONPOSITION position = {};
    uint32_t matches = 0;
    if (Checked(NIFFindByName(collection, key.c_str(), flags, &position, &matches)) != 0)
        return;
    uint32_t total = 0;
    uint16_t signal = SIGNAL_MORE_TO_DO;
    for (int answers = 0; (signal & SIGNAL_MORE_TO_DO) != 0 && answers < kMaxAnswers; ++answers) {
        DHANDLE block = 0;
        uint32_t returned = 0;
        Require(NIFReadEntries(collection, &position, NAVIGATE_CURRENT, 0, NAVIGATE_NEXT, matches,
                               READ_MASK_NOTEID, &block, nullptr, nullptr, &returned,
                               &signal) == 0);
        total += returned;
        const auto* ids = static_cast<const NOTEID*>(OSLockObject(block));
        for (uint32_t i = 0; ids != nullptr && i < returned; ++i)
            Require(NSFDbGetNoteInfo(db, ids[i], nullptr, nullptr, nullptr) == 0);
        OSUnlockObject(block);
        Require(OSMemFree(block) == 0);
    }
    Require(total == matches || (signal & SIGNAL_MORE_TO_DO) != 0);
}

// A key to look for in views: the start of the first FullName text, else "a".
std::string ViewKey(const Database& model) {
    for (const Note& note : model.notes) {
        for (const Item& item : note.items) {
            if (item.name == "FullName" && item.kind == notesrt::ValueKind::Text &&
                !item.text.empty())
                return std::string(item.text.c_str()).substr(0, 3);
        }
    }
    return "a";
}

void ReadView(DBHANDLE db, NOTEID viewId, const std::string& key) {
    HCOLLECTION collection = 0;
    NOTEHANDLE viewNote = 0;
    UNID viewUnid;
    Require(Checked(NIFOpenCollection(db, db, viewId, 0, 0, &collection, &viewNote, &viewUnid,
                                      nullptr, nullptr)) == 0);
    ReadEntries(collection, db, key, FIND_CASE_INSENSITIVE | FIND_PARTIAL);
    ReadEntries(collection, db, key, FIND_CASE_INSENSITIVE);
    Require(NIFCloseCollection(collection) == 0);
    Require(NSFNoteClose(viewNote) == 0);
}

void ReadViews(DBHANDLE db, const Database& model) {
    const std::string key = ViewKey(model);
    std::vector<std::string> names = {"$Users", "($Users)"};
    for (const Note& note : model.notes) {
        if (note.noteClass != NOTE_CLASS_VIEW)
            continue;
        for (const Item& item : note.items) {
            if (item.name != "$TITLE" || item.kind != notesrt::ValueKind::Text)
                continue;
            const std::string title = item.text.substr(0, item.text.find('\0'));
            names.push_back(title.substr(0, title.find('|')));
        }
    }
    size_t read = 0;
    for (const std::string& name : names) {
        NOTEID viewId = 0;
        const STATUS status = Checked(NIFFindDesignNoteExt(db, name.c_str(), NOTE_CLASS_VIEW,
                                                           DFLAGPAT_VIEWS_AND_FOLDERS, &viewId, 0));
        Require(status == 0 || ERR(status) == ERR_NOT_FOUND);
        if (status == 0 && read++ < kMaxViews)
            ReadView(db, viewId, key);
    }
}

void ReadCalendar(DBHANDLE db, TIMEDATE start, TIMEDATE end) {
    uint16_t signal = SIGNAL_MORE_TO_DO;
    for (int answers = 0; (signal & SIGNAL_MORE_TO_DO) != 0 && answers < kMaxAnswers; ++answers) {
        DHANDLE text = 0;
        uint16_t length = 0;
        signal = 0;
        if (Checked(CalReadRange(db, start, end, 0, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, nullptr,
                                 &text, &length, nullptr, nullptr, &signal, 0, nullptr)) != 0)
            return;
        uint32_t size = 0;
        Require(OSMemGetSize(text, &size) == 0 && size >= length);
        Require(OSMemFree(text) == 0);
    }
}

void ReadSchedule(TIMEDATE_PAIR interval) {
    DHANDLE names = 0;
    void* namesList = nullptr;
    uint16_t listSize = 0;
    Require(ListAllocate(0, 0, 0, &names, &namesList, &listSize) == 0);
    Require(ListAddEntry(names, 0, &listSize, 0, kUser,
                         static_cast<uint16_t>(std::strlen(kUser))) == 0);
    HCNTNR container = 0;
    const STATUS retrieved =
        Checked(SchRetrieve(nullptr, nullptr, 0, &interval, static_cast<LIST*>(OSLockObject(names)),
                            &container, nullptr, nullptr, nullptr));
    OSUnlockObject(names);
    OSUnlockObject(names);
    Require(OSMemFree(names) == 0);
    if (retrieved != 0)
        return;
    HCNTNROBJ schedule = 0;
    if (Checked(SchContainer_FindSchedule(container, kUser, nullptr, nullptr, &schedule,
                                          nullptr)) == 0) {
        uint32_t size = 0;
        DHANDLE list = 0;
        HCNTNROBJ more = 0;
        STATUS status =
            Checked(Schedule_ExtractSchedList(container, schedule, nullptr, &size, &list, &more));
        for (int answers = 0; status == 0 && answers < kMaxAnswers; ++answers) {
            Require(OSMemFree(list) == 0);
            list = 0;
            status = Checked(
                Schedule_ExtractMoreSchedList(container, more, nullptr, &size, &list, &more));
        }
        Require(list == 0 || OSMemFree(list) == 0);
    }
    SchContainer_Free(container);
}

void ReadDatabase(DBHANDLE db, const Database& model) {
    DBREPLICAINFO replica;
    DBID id;
    Require(NSFDbReplicaInfoGet(db, &replica) == 0 && NSFDbIDGet(db, &id) == 0);
    Require(std::memcmp(&replica.ID, &model.replicaId, sizeof(TIMEDATE)) == 0 &&
            std::memcmp(&id, &model.dbId, sizeof(DBID)) == 0);

    SearchTally tally{&model, 0};
    Require(NSFSearch(db, 0, nullptr, 0, NOTE_CLASS_DOCUMENT | NOTE_CLASS_VIEW, nullptr, CountMatch,
                      &tally, nullptr) == 0);
    Require(tally.visited == model.notes.size());

    ReadNotes(db, model);
    ReadViews(db, model);
    const TIMEDATE start = TimeOf("01/01/2000 00:00:00");
    const TIMEDATE end = TimeOf("12/31/2049 23:59:00");
    ReadCalendar(db, start, end);
    ReadSchedule(TIMEDATE_PAIR{start, end});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Installation& installation = TheInstallation();
    const std::string text(reinterpret_cast<const char*>(data), size);
    Database model;
    std::string problem;
    const bool parsed = notesrt::ParseDatabase(text, model, problem);

    installation.Write("fuzz.nsf", text);
    Require(installation.StartRuntime() == 0);
    DBHANDLE db = 0;
    const STATUS opened = NSFDbOpen("fuzz.nsf", &db);
    if (parsed) {
        Require(opened == 0);
        ReadDatabase(db, model);
        Require(NSFDbClose(db) == 0);
    } else {
        char message[1024];
        Require(ERR(opened) == notesrt::kErrDatabaseDamaged && db == 0);
        Require(OSLoadString(nullptr, opened, message, sizeof message) > 0 &&
                std::strstr(message, "fuzz.nsf") != nullptr);
    }
    Require(korvo_fuzz::RuntimeHoldsNothing());
    NotesrtReset();
    return 0;
}
