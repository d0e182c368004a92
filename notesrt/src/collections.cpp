// Collections: NIFOpenCollection, NIFCloseCollection, NIFFindByName, NIFReadEntries.
#include "collections.h"

#include "notes.h"
#include "runtime.h"
#include "viewnames.h"

#include <algorithm>
#include <cstring>

using namespace notesrt;

namespace {

// The most entries one answer holds, so that its buffer length fits 16 bits.
constexpr uint32_t kMostEntriesPerAnswer = 0xFFFF / sizeof(NOTEID);

// The position of the view note viewNoteId in db; false when db has no such view.
bool FindView(const Model& db, NOTEID viewNoteId, size_t& position) {
    return db.FindById(viewNoteId, position) && db.Notes()[position].noteClass == NOTE_CLASS_VIEW;
}

// Writes an empty handle into each list output that was given.
void NoLists(DHANDLE* collapsedList, DHANDLE* selectedList) {
    for (DHANDLE* list : {collapsedList, selectedList}) {
        if (list != nullptr)
            *list = NULLHANDLE;
    }
}

// The entry number the answer starts at: after the skip, or where the request left off.
uint32_t StartEntry(const Collection& collection, const ReadRequest& request,
                    const COLLECTIONPOSITION& position, uint32_t& remaining, uint32_t& skipped) {
    const ReadContinuation& continuation = collection.continuation;
    skipped = 0;
    if (continuation.pending && continuation.request == request &&
        continuation.nextEntry == position.Tumbler[0]) {
        remaining = continuation.remaining;
        return position.Tumbler[0];
    }
    remaining = request.returnCount;
    const auto total = static_cast<uint32_t>(collection.entries->size());
    uint32_t entry = std::min(position.Tumbler[0], total + 1);
    if (request.skipNavigator == NAVIGATE_NEXT) {
        skipped = std::min(request.skipCount, total + 1 - entry);
        entry += skipped;
    }
    return std::max(entry, 1u);
}

// Copies the note IDs of count entries from the entry number start into a new memory block.
STATUS NoteIdBlock(Runtime& runtime, const ViewEntries& entries, uint32_t start, uint32_t count,
                   DHANDLE& handle) {
    MemoryBlock block;
    block.bytes.resize(size_t{count} * sizeof(NOTEID));
    for (uint32_t i = 0; i < count; ++i) {
        const NOTEID noteId = entries.NoteIdAt(start - 1 + i);
        std::memcpy(&block.bytes[size_t{i} * sizeof noteId], &noteId, sizeof noteId);
    }
    handle = runtime.memory.Add(std::move(block));
    return handle == NULLHANDLE ? kErrTooManyHandles : 0;
}

} // namespace

extern "C" NOTESRT_API STATUS LNPUBLIC NIFOpenCollection(
    DBHANDLE viewDb, DBHANDLE dataDb, NOTEID viewNoteId, uint16_t, DHANDLE, HCOLLECTION* collection,
    NOTEHANDLE* viewNote, UNID* viewUnid, DHANDLE* collapsedList, DHANDLE* selectedList) {
    return RunCall("NIFOpenCollection", true, [&](Runtime& runtime) -> STATUS {
        const OpenDatabase* views = runtime.databases.Find(viewDb);
        const OpenDatabase* data = runtime.databases.Find(dataDb);
        if (views == nullptr || data == nullptr)
            return kErrInvalidHandle;
        if (collection == nullptr)
            return kErrInvalidArgument;
        size_t position;
        if (!FindView(*views->db, viewNoteId, position))
            return ERR_NOT_FOUND;
        const Model& viewModel = *views->db;
        const NoteRecord& view = viewModel.Notes()[position];
        Collection opened;
        opened.entries = HasViewName(viewModel, view, "$Users")
                             ? UsersViewOf(*data->db)
                             : std::make_shared<const ViewEntries>();
        NOTEHANDLE note = NULLHANDLE;
        if (viewNote != nullptr) {
            if (STATUS status = OpenNoteAt(runtime, viewDb, *views, position, false, &note))
                return status;
        }
        const uint32_t handle = runtime.collections.Add(std::move(opened));
        if (handle == 0) {
            runtime.notes.Remove(note);
            return kErrTooManyHandles;
        }
        *collection = static_cast<HCOLLECTION>(handle);
        if (viewNote != nullptr)
            *viewNote = note;
        if (viewUnid != nullptr)
            *viewUnid = view.unid;
        NoLists(collapsedList, selectedList);
        return 0;
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC NIFCloseCollection(HCOLLECTION collection) {
    return RunReleaseCall("NIFCloseCollection", [&](Runtime& runtime) -> STATUS {
        return runtime.collections.Remove(collection) ? 0 : kErrInvalidHandle;
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC NIFFindByName(HCOLLECTION collection, const char* name,
                                                     uint16_t findFlags,
                                                     COLLECTIONPOSITION* position,
                                                     uint32_t* matches) {
    return RunCall("NIFFindByName", true, [&](Runtime& runtime) -> STATUS {
        const Collection* open = runtime.collections.Find(collection);
        if (open == nullptr)
            return kErrInvalidHandle;
        const bool partial = (findFlags & FIND_PARTIAL) != 0;
        const bool caseSensitive = (findFlags & FIND_CASE_INSENSITIVE) == 0;
        if (name == nullptr || position == nullptr || matches == nullptr ||
            (findFlags & ~(FIND_PARTIAL | FIND_CASE_INSENSITIVE)) != 0 ||
            (partial && caseSensitive))
            return kErrInvalidArgument;
        size_t first;
        size_t count;
        open->entries->Find(name, partial, caseSensitive, first, count);
        if (count == 0)
            return ERR_NOT_FOUND;
        *position = COLLECTIONPOSITION{};
        position->Tumbler[0] = static_cast<uint32_t>(first + 1);
        *matches = static_cast<uint32_t>(count);
        return 0;
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC
NIFReadEntries(HCOLLECTION collection, COLLECTIONPOSITION* position, uint16_t skipNavigator,
               uint32_t skipCount, uint16_t returnNavigator, uint32_t returnCount,
               uint32_t returnMask, DHANDLE* buffer, uint16_t* bufferLength, uint32_t* skipped,
               uint32_t* returned, uint16_t* signalFlags) {
    return RunCall("NIFReadEntries", true, [&](Runtime& runtime) -> STATUS {
        Collection* open = runtime.collections.Find(collection);
        if (open == nullptr)
            return kErrInvalidHandle;
        if (position == nullptr || buffer == nullptr || position->Level != 0 ||
            (skipNavigator != NAVIGATE_CURRENT && skipNavigator != NAVIGATE_NEXT) ||
            returnNavigator != NAVIGATE_NEXT || returnMask != READ_MASK_NOTEID)
            return kErrInvalidArgument;
        const ReadRequest request = {skipNavigator, skipCount, returnNavigator, returnCount,
                                     returnMask};
        uint32_t remaining;
        uint32_t skippedEntries;
        const uint32_t start = StartEntry(*open, request, *position, remaining, skippedEntries);
        const auto total = static_cast<uint32_t>(open->entries->size());
        const uint32_t available = start <= total ? total + 1 - start : 0;
        const uint32_t piece = std::min(runtime.install.pieces.collection, kMostEntriesPerAnswer);
        const uint32_t count = std::min({remaining, available, piece});
        DHANDLE block = NULLHANDLE;
        if (count > 0) {
            if (STATUS status = NoteIdBlock(runtime, *open->entries, start, count, block))
                return status;
        }
        const bool more = count < remaining && count < available;
        open->continuation = ReadContinuation{more, request, start + count, remaining - count};
        if (count > 0)
            position->Tumbler[0] = start + count;
        *buffer = block;
        if (bufferLength != nullptr)
            *bufferLength = static_cast<uint16_t>(count * sizeof(NOTEID));
        if (skipped != nullptr)
            *skipped = skippedEntries;
        if (returned != nullptr)
            *returned = count;
        if (signalFlags != nullptr)
            *signalFlags = more ? SIGNAL_MORE_TO_DO : 0;
        return 0;
    });
}
