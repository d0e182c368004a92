#include "notesentries.h"

#include "notesclib.h"
#include "trace.h"

static constexpr char kTraceSource[] = "notesclib.cpp";

void ReadMatchedEtries(HCOLLECTION collection, COLLECTIONPOSITION* position, uint32_t matchCount,
                       const EntryReader& reader) {
    uint16_t signal = SIGNAL_MORE_TO_DO;
    while ((signal & SIGNAL_MORE_TO_DO) != 0) {
        DHANDLE noteIds = NULLHANDLE;
        uint32_t returned = 0;
        signal = 0;
        const STATUS status =
            NIFReadEntries(collection, position, NAVIGATE_CURRENT, 0, NAVIGATE_NEXT, matchCount,
                           READ_MASK_NOTEID, &noteIds, nullptr, nullptr, &returned, &signal);
        if (status != NOERROR) {
            NotesAPIErrHandler("NIFReadEntries", status);
            return;
        }
        if ((signal & SIGNAL_MORE_TO_DO) != 0)
            KORVO_TRACE(PM_SDK::kLevelProgress, "ReadMatchedEtries", "There are more Etries!!");
        if (returned > 0 && noteIds != NULLHANDLE)
            reader(returned, noteIds);
        else
            OSMemFree(noteIds);
    }
}
