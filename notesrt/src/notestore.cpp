// Storing notes: NSFNoteUpdate and NSFDbGenerateOID.
#include "notestore.h"

#include "dbload.h"
#include "filereplace.h"
#include "notejson.h"
#include "notesplice.h"
#include "os.h"
#include "parseinput.h"
#include "paths.h"
#include "timedate.h"

#include <algorithm>
#include <chrono>
#include <fstream>

namespace notesrt {
namespace {

using Json = nlohmann::ordered_json;

// The note half of the originator ID given last, as one 64-bit number (Innards[1] high).
uint64_t g_lastNoteHalf = 0;

uint64_t Combined(const TIMEDATE& time) {
    return (static_cast<uint64_t>(time.Innards[1]) << 32) | time.Innards[0];
}

TIMEDATE Split(uint64_t value) {
    TIMEDATE time;
    time.Innards[0] = static_cast<uint32_t>(value & 0xFFFFFFFFu);
    time.Innards[1] = static_cast<uint32_t>(value >> 32);
    return time;
}

TIMEDATE Now() {
    const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    const int64_t seconds = now / 1000;
    const auto hundredths = static_cast<unsigned>(now % 1000 / 10);
    TIMEDATE time;
    if (!TimeDateInProcessZone(seconds, hundredths, time))
        time = MakeTimeDate(seconds, hundredths, 0, false);
    return time;
}

bool ReadFileText(const std::filesystem::path& file, std::string& text) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return false;
    std::ifstream stream(file, std::ios::binary | std::ios::ate);
    const std::streamoff size = stream.tellg();
    if (!stream || size < 0)
        return false;
    text.resize(static_cast<size_t>(size));
    stream.seekg(0);
    stream.read(text.data(), size);
    return stream.gcount() == size;
}

// A note ID for a note added at position of db: the one the position would derive when it is
// free, else the next free multiple of 4 above it.
NOTEID FreeNoteId(const Model& db, size_t position) {
    auto candidate = static_cast<NOTEID>(4 * (position + 1));
    size_t taken;
    while (candidate == 0 || db.FindById(candidate, taken))
        candidate += 4;
    return candidate;
}

// The note of open as the handle shows it, in plain form.
Note ShownNote(const OpenNote& open) {
    Note note;
    note.noteId = open.noteId;
    note.oid = open.oid;
    note.noteClass = open.noteClass;
    for (size_t position = 0; position < open.Record().itemCount; ++position)
        note.items.push_back(ExpandItem(*open.items, open.ItemAt(position)));
    return note;
}

// The file whose lock guards the writes of file: its name and ".lock", beside it.
std::filesystem::path LockFileOf(const std::filesystem::path& file) {
    std::filesystem::path lockFile = file;
    lockFile += ".lock";
    return lockFile;
}

std::filesystem::path Normal(const std::filesystem::path& file) {
    std::error_code error;
    return std::filesystem::absolute(file, error).lexically_normal();
}

// Gives every database handle on file the model db.
void ShareModel(Runtime& runtime, const std::filesystem::path& file,
                const std::shared_ptr<Model>& db) {
    const std::filesystem::path target = Normal(file);
    std::vector<DBHANDLE> handles;
    for (const auto& entry : runtime.databases) {
        std::filesystem::path other;
        if (ResolveFile(runtime.install, entry.second.path, other) == 0 && Normal(other) == target)
            handles.push_back(entry.first);
    }
    for (const DBHANDLE handle : handles)
        runtime.databases.Find(handle)->db = db;
}

} // namespace

ORIGINATORID NewOriginatorId(const Model& db) {
    ORIGINATORID oid = {};
    oid.File.Innards[1] = db.replicaId.Innards[0];
    oid.File.Innards[0] = db.replicaId.Innards[1];
    return FreeOriginatorId(db, oid);
}

ORIGINATORID FreeOriginatorId(const Model& db, ORIGINATORID oid) {
    uint64_t noteHalf = std::max(Combined(Now()), g_lastNoteHalf + 1);
    for (;; ++noteHalf) {
        oid.Note = Split(noteHalf);
        const UNID unid = {oid.File, oid.Note};
        size_t taken;
        if (!db.FindByUnid(unid, taken))
            break;
    }
    g_lastNoteHalf = noteHalf;
    oid.Sequence = 0;
    oid.SequenceTime = oid.Note;
    return oid;
}

STATUS StoreNote(Runtime& runtime, OpenNote& open) {
    const OpenDatabase* target = runtime.databases.Find(open.dbHandle);
    if (target == nullptr)
        return Fail(kErrInvalidHandle, "the note's database is not open");
    std::filesystem::path file;
    if (STATUS status = ResolveFile(runtime.install, target->path, file))
        return status;
    const std::string name = file.u8string();
    // Held until the file is replaced: what is read is what the change applies to.
    FileLock lock;
    if (StepRefused("FileLock") || !lock.Acquire(LockFileOf(file)))
        return Fail(kErrCannotWriteFile, name + ": cannot be locked");
    std::string content;
    if (!ReadFileText(file, content))
        return Fail(kErrFileNotFound, name);
    std::string problem;
    std::shared_ptr<const Model> current =
        runtime.files.Known(file, content.size(), HashOfText(content));
    if (current == nullptr) {
        auto loaded = std::make_shared<Model>();
        if (!LoadModel(content, *loaded, problem))
            return Fail(kErrDatabaseDamaged, name + ": " + problem);
        current = loaded;
    }

    Note stored = ShownNote(open);
    size_t position = current->Notes().size();
    if (stored.noteId != 0) {
        if (!current->FindById(stored.noteId, position))
            return Fail(kErrNoteNotFound, "note ID " + std::to_string(stored.noteId));
    } else if (current->FindByUnid(UnidOfNote(stored), position) && stored.oid.Sequence != 0) {
        stored.noteId = current->Notes()[position].noteId;
    } else {
        // A note never stored (sequence 0) whose UNID another process has given meanwhile (both
        // take it from the clock) gets one that is free.
        if (position != current->Notes().size())
            stored.oid = FreeOriginatorId(*current, stored.oid);
        position = current->Notes().size();
        stored.noteId = FreeNoteId(*current, position);
    }
    Json object;
    if (!NoteToJson(stored, object, problem))
        return Fail(kErrInvalidArgument, problem);
    const std::string noteText = NoteFileText(object);
    // The note as a file holding it reads back, the rest of the file as it was read.
    Model note;
    if (!LoadModel("{\"notes\": [" + noteText + "]}", note, problem))
        return Fail(kErrInvalidArgument, problem);
    auto updated = std::make_shared<Model>(*current);
    updated->AddItemsOf(note, note.Notes().front());
    updated->PutNote(position, note.Notes().front());
    if (!IndexFileNotes(*updated, problem))
        return Fail(kErrInvalidArgument, problem);
    const SplicedText text = SpliceNote(content, updated->layout, position, noteText);

    bool replaced = false;
    const STATUS written =
        ReplaceFileContent(file, {text.before, text.inserted, text.after}, replaced);
    if (replaced) {
        runtime.files.Remember(file, updated);
        ShareModel(runtime, file, updated);
        open.noteId = stored.noteId;
        open.oid = stored.oid;
    }
    return written;
}

} // namespace notesrt

using namespace notesrt;

extern "C" NOTESRT_API STATUS LNPUBLIC NSFDbGenerateOID(DBHANDLE db, ORIGINATORID* oid) {
    return RunCall("NSFDbGenerateOID", true, [&](Runtime& runtime) -> STATUS {
        const OpenDatabase* open = runtime.databases.Find(db);
        if (open == nullptr)
            return kErrInvalidHandle;
        if (oid == nullptr)
            return kErrInvalidArgument;
        *oid = NewOriginatorId(*open->db);
        return 0;
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC NSFNoteUpdate(NOTEHANDLE note, uint16_t) {
    return RunCall("NSFNoteUpdate", true, [&](Runtime& runtime) -> STATUS {
        OpenNote* open = runtime.notes.Find(note);
        if (open == nullptr)
            return kErrInvalidHandle;
        return StoreNote(runtime, *open);
    });
}
