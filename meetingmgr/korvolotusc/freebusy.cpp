#include "freebusy.h"

#include "notesclib.h"
#include "notestext.h"
#include "trace.h"

#include <algorithm>
#include <cstring>

static constexpr char kTraceSource[] = "notesclib.cpp";

namespace {

constexpr uint32_t kRetrieveOptions = 10;           // the request options of a busy-time lookup
constexpr int kNoDataType = 0;                      // the name list has no data-type prefix
constexpr int32_t kScheduleApptType = 5;            // the appointment type of an added entry
constexpr size_t kUserNameBuffer = MAXUSERNAME + 1; // bytes of the user-name buffer

// True when entries hold an entry whose UNID is unid.
bool HoldsUnid(const std::vector<CalendarEventEntry>& entries, const UNID& unid) {
    return std::any_of(entries.begin(), entries.end(), [&unid](const CalendarEventEntry& entry) {
        return std::memcmp(&entry.unid, &unid, sizeof unid) == 0;
    });
}

// Frees a memory handle the runtime gave us; a failure is reported.
void FreeBlock(DHANDLE handle) {
    const STATUS status = OSMemFree(handle);
    if (status != NOERROR)
        NotesAPIErrHandler("OSMemFree", status);
}

// Walks the schedule lists of one schedule object into entries.
void ParseMatchedScheduledList(HCNTNR container, HCNTNROBJ scheduleObject, TIMEDATE_PAIR range,
                               std::vector<CalendarEventEntry>& entries) {
    if (container == 0 || scheduleObject == 0) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "ParseMatchedScheduledList",
                    "Invalid paramter:hContianer[0x%x],hSchedObject[0x%x]",
                    static_cast<unsigned>(container), static_cast<unsigned>(scheduleObject));
        return;
    }
    uint32_t size = 0;
    DHANDLE list = NULLHANDLE;
    HCNTNROBJ more = 0;
    STATUS status =
        Schedule_ExtractSchedList(container, scheduleObject, &range, &size, &list, &more);
    while (status == NOERROR) {
        ParseMatchedScheduleEntries(range, list, entries);
        const HCNTNROBJ continuation = more;
        list = NULLHANDLE;
        status =
            Schedule_ExtractMoreSchedList(container, continuation, &range, &size, &list, &more);
    }
    if (status != ERR_SCHOBJ_NOTEXIST)
        NotesAPIErrHandler("Schedule_ExtractSchedList--Schedule_ExtractMoreSchedList", status);
}

// Looks the user's schedule up in the container and walks its lists.
void FindUserSchedule(HCNTNR container, char* userName, const TIMEDATE_PAIR& range,
                      std::vector<CalendarEventEntry>& entries) {
    STATUS serverError = 0;
    DWORD gatewayError = 0;
    HSCHEDULE scheduleObject = 0;
    SCHEDULE* schedule = nullptr;
    const STATUS status = SchContainer_FindSchedule(container, userName, &serverError,
                                                    &gatewayError, &scheduleObject, &schedule);
    if (status != NOERROR) {
        NotesAPIErrHandler("SchContainer_FindSchedule", status);
        KORVO_TRACE(PM_SDK::kLevelFailure, "GetMatchedScheduledList",
                    "Domino Server error[%d], Gateway error[%d]", static_cast<int>(serverError),
                    static_cast<int>(gatewayError));
        return;
    }
    ParseMatchedScheduledList(container, scheduleObject, range, entries);
}

} // namespace

void ParseMatchedScheduleEntries(const TIMEDATE_PAIR& range, DHANDLE list,
                                 std::vector<CalendarEventEntry>& entries) {
    if (list == NULLHANDLE) {
        KORVO_TRACE(PM_SDK::kLevelProgress, "ParseMatchedScheduleEntries",
                    "Invalid paramter:hContianer[0x%x]", static_cast<unsigned>(list));
        return;
    }
    const char* block = static_cast<const char*>(OSLockObject(list));
    SCHED_LIST head;
    std::memcpy(&head, block, sizeof head);
    const char* next = block + sizeof head;
    for (uint32_t i = 0; i < head.NumEntries; ++i, next += sizeof(SCHED_ENTRY)) {
        SCHED_ENTRY busy;
        std::memcpy(&busy, next, sizeof busy);
        if (TimeDateCompare(&busy.Interval.Lower, &range.Lower) >= 0 ||
            TimeDateCompare(&busy.Interval.Upper, &range.Lower) <= 0 ||
            HoldsUnid(entries, busy.Unid))
            continue;
        CalendarEventEntry added{};
        added.fromSchedule = 1;
        added.apptType = kScheduleApptType;
        added.unid = busy.Unid;
        entries.push_back(added);
    }
    OSUnlockObject(list);
    FreeBlock(list);
}

void GetMatchedScheduledList(const TIMEDATE_PAIR& range, std::vector<CalendarEventEntry>& entries) {
    char userName[kUserNameBuffer] = {};
    const STATUS userStatus = SECKFMUserInfo(KFM_ui_GetUserInfo, userName, nullptr);
    if (userStatus != NOERROR)
        NotesAPIErrHandler("SECKFMUserInfo", userStatus);
    TextEntry name;
    ConstructTextEntry(userName, static_cast<uint32_t>(std::strlen(userName)), name);

    DHANDLE names = NULLHANDLE;
    void* listPointer = nullptr;
    uint16_t listSize = 0;
    STATUS status = ListAllocate(0, 0, kNoDataType, &names, &listPointer, &listSize);
    if (status != NOERROR) {
        NotesAPIErrHandler("ListAllocate", status);
        return;
    }
    OSUnlockObject(names);
    if (name.text) {
        status = ListAddEntry(names, kNoDataType, &listSize, 0, name.c_str(),
                              static_cast<uint16_t>(name.length));
        if (status != NOERROR)
            NotesAPIErrHandler("ListAddEntry", status);
    }

    auto* nameList = static_cast<LIST*>(OSLockObject(names));
    UNID appointment = {};
    TIMEDATE_PAIR interval = range;
    HCNTNR container = 0;
    status = SchRetrieve(&appointment, nullptr, kRetrieveOptions, &interval, nameList, &container,
                         nullptr, nullptr, nullptr);
    if (status != NOERROR) {
        NotesAPIErrHandler("SchRetrieve", status);
    } else {
        if (container == 0)
            KORVO_TRACE(PM_SDK::kLevelFailure, "GetMatchedScheduledList",
                        "Invalid paramter:hContianer[0x%x],UserName[%s]", 0u, userName);
        else
            FindUserSchedule(container, userName, range, entries);
        SchContainer_Free(container);
    }
    OSUnlockObject(names);
    FreeBlock(names);
}
