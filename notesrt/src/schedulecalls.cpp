// The free/busy calls: SchRetrieve, SchContainer_FindSchedule, Schedule_ExtractSchedList,
// Schedule_ExtractMoreSchedList and SchContainer_Free.
#include "appointments.h"
#include "asciicase.h"
#include "memory.h"
#include "paths.h"

#include <algorithm>
#include <cstring>

using namespace notesrt;

namespace {

// The entries of a text list without data type.
std::vector<std::string> ListTexts(const LIST* list) {
    const auto* lengths = reinterpret_cast<const uint8_t*>(list) + sizeof(uint16_t);
    const char* text =
        reinterpret_cast<const char*>(lengths + sizeof(uint16_t) * list->ListEntries);
    std::vector<std::string> texts;
    for (uint16_t i = 0; i < list->ListEntries; ++i) {
        uint16_t length;
        std::memcpy(&length, lengths + sizeof(uint16_t) * i, sizeof length);
        texts.emplace_back(text, length);
        text += length;
    }
    return texts;
}

// True when the busy interval overlaps the range.
bool Overlaps(const BusyTime& busy, int64_t lower, int64_t upper) {
    int64_t start;
    int64_t end;
    return InstantOf(busy.start, start) && InstantOf(busy.end, end) && start < upper && end > lower;
}

bool RangeOf(const TIMEDATE_PAIR& interval, int64_t& lower, int64_t& upper) {
    return InstantOf(interval.Lower, lower) && InstantOf(interval.Upper, upper);
}

// The busy intervals of the user's mail file that overlap the range, in start order.
STATUS ReadBusyTimes(Runtime& runtime, int64_t lower, int64_t upper, std::vector<BusyTime>& busy) {
    const IniFile& ini = runtime.install.ini;
    const std::string server = ini.Get("MailServer", "");
    const std::string file = ini.Get("MailFile", "");
    std::filesystem::path path;
    if (STATUS status =
            ResolveFile(runtime.install, server.empty() ? file : server + "!!" + file, path))
        return status;
    std::shared_ptr<Model> db;
    if (STATUS status = runtime.files.Open(path, db))
        return status;
    for (const Occurrence& occurrence : CalendarOf(*db)->occurrences) {
        const NoteRecord& note = db->Notes()[occurrence.position];
        if (occurrence.startAt >= upper || occurrence.endAt <= lower ||
            ItemTextOf(*db, note, "$BusyPriority") == "2")
            continue;
        busy.push_back(BusyTime{note.unid, occurrence.start, occurrence.end});
    }
    return 0;
}

// The schedule of the current user over interval.
std::unique_ptr<PersonSchedule> ReadSchedule(Runtime& runtime, const TIMEDATE_PAIR& interval,
                                             int64_t lower, int64_t upper) {
    auto schedule = std::make_unique<PersonSchedule>();
    schedule->record.head.Interval = interval;
    const std::string& owner = runtime.install.userName;
    const size_t length = std::min<size_t>(owner.size(), MAXUSERNAME - 1);
    std::memcpy(schedule->record.owner, owner.data(), length);
    schedule->record.head.wOwnerNameSize = static_cast<WORD>(length + 1);
    schedule->status = ReadBusyTimes(runtime, lower, upper, schedule->busy);
    schedule->record.head.error = schedule->status;
    return schedule;
}

// The busy intervals of schedule that overlap the range, from index next on, at most one
// piece of them; next moves past the last one taken.
std::vector<SCHED_ENTRY> TakePiece(const Runtime& runtime, const PersonSchedule& schedule,
                                   int64_t lower, int64_t upper, size_t& next) {
    std::vector<SCHED_ENTRY> entries;
    while (next < schedule.busy.size() && entries.size() < runtime.install.pieces.schedule) {
        const BusyTime& busy = schedule.busy[next++];
        if (!Overlaps(busy, lower, upper))
            continue;
        SCHED_ENTRY entry = {};
        entry.Unid = busy.unid;
        entry.Interval.Lower = busy.start;
        entry.Interval.Upper = busy.end;
        entries.push_back(entry);
    }
    return entries;
}

// A schedule list block of entries in *list (owned by the caller) and its size in *size.
STATUS NewList(Runtime& runtime, const std::vector<SCHED_ENTRY>& entries, DHANDLE* list,
               uint32_t* size) {
    SCHED_LIST head = {};
    head.NumEntries = static_cast<DWORD>(entries.size());
    std::string bytes(reinterpret_cast<const char*>(&head), sizeof head);
    bytes.append(reinterpret_cast<const char*>(entries.data()),
                 entries.size() * sizeof(SCHED_ENTRY));
    if (STATUS status = NewBlock(runtime, bytes, list))
        return status;
    *size = static_cast<uint32_t>(bytes.size());
    return 0;
}

// The range a list covers: interval, or the schedule's own when it is null.
STATUS ListRange(const PersonSchedule& schedule, const TIMEDATE_PAIR* interval, int64_t& lower,
                 int64_t& upper) {
    if (!RangeOf(interval != nullptr ? *interval : schedule.record.head.Interval, lower, upper))
        return kErrTimeOutOfRange;
    return 0;
}

HCNTNROBJ AddContinuation(ScheduleContainer& container, size_t schedule, size_t next) {
    const HCNTNROBJ object = ++container.nextObject;
    container.continuations[object] = ScheduleContinuation{schedule, next};
    return object;
}

} // namespace

extern "C" NOTESRT_API STATUS LNPUBLIC SchRetrieve(const UNID*, TIMEDATE*, DWORD,
                                                   TIMEDATE_PAIR* interval, LIST* names,
                                                   HCNTNR* container, void* reserved1,
                                                   void* reserved2, void** reserved3) {
    return RunCall("SchRetrieve", true, [&](Runtime& runtime) -> STATUS {
        if (interval == nullptr || names == nullptr || container == nullptr ||
            reserved1 != nullptr || reserved2 != nullptr || reserved3 != nullptr)
            return kErrInvalidArgument;
        int64_t lower;
        int64_t upper;
        if (!RangeOf(*interval, lower, upper))
            return kErrTimeOutOfRange;
        const std::vector<std::string> texts = ListTexts(names);
        const std::string& user = runtime.install.userName;
        if (std::none_of(texts.begin(), texts.end(), [&user](const std::string& name) {
                return EqualsIgnoringCase(name, user);
            })) {
            *container = 0;
            return 0;
        }
        ScheduleContainer answer;
        answer.schedules.push_back(ReadSchedule(runtime, *interval, lower, upper));
        answer.nextObject = static_cast<HCNTNROBJ>(answer.schedules.size());
        const HCNTNR handle = runtime.schedules.Add(std::move(answer));
        if (handle == 0)
            return kErrTooManyHandles;
        *container = handle;
        return 0;
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC SchContainer_FindSchedule(HCNTNR container, char* name,
                                                                 STATUS* serverError,
                                                                 DWORD* gatewayError,
                                                                 HSCHEDULE* scheduleObject,
                                                                 SCHEDULE** schedule) {
    return RunCall("SchContainer_FindSchedule", true, [&](Runtime& runtime) -> STATUS {
        ScheduleContainer* found = runtime.schedules.Find(container);
        if (found == nullptr)
            return kErrInvalidHandle;
        if (name == nullptr || scheduleObject == nullptr)
            return kErrInvalidArgument;
        if (gatewayError != nullptr)
            *gatewayError = 0;
        if (serverError != nullptr)
            *serverError = 0;
        for (size_t i = 0; i < found->schedules.size(); ++i) {
            PersonSchedule& person = *found->schedules[i];
            if (!EqualsIgnoringCase(person.record.owner, name))
                continue;
            if (person.status != 0) {
                if (serverError != nullptr)
                    *serverError = person.status;
                return person.status;
            }
            *scheduleObject = static_cast<HCNTNROBJ>(i + 1);
            if (schedule != nullptr)
                *schedule = &person.record.head;
            return 0;
        }
        return ERR_NOT_FOUND;
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC Schedule_ExtractSchedList(HCNTNR container,
                                                                 HCNTNROBJ scheduleObject,
                                                                 TIMEDATE_PAIR* interval,
                                                                 DWORD* size, DHANDLE* list,
                                                                 HCNTNROBJ* more) {
    return RunCall("Schedule_ExtractSchedList", true, [&](Runtime& runtime) -> STATUS {
        ScheduleContainer* found = runtime.schedules.Find(container);
        if (found == nullptr || scheduleObject == 0 || scheduleObject > found->schedules.size())
            return kErrInvalidHandle;
        if (size == nullptr || list == nullptr || more == nullptr)
            return kErrInvalidArgument;
        const size_t index = scheduleObject - 1;
        const PersonSchedule& schedule = *found->schedules[index];
        if (schedule.status != 0)
            return schedule.status;
        int64_t lower;
        int64_t upper;
        if (STATUS status = ListRange(schedule, interval, lower, upper))
            return status;
        size_t next = 0;
        if (STATUS status =
                NewList(runtime, TakePiece(runtime, schedule, lower, upper, next), list, size))
            return status;
        *more = AddContinuation(*found, index, next);
        return 0;
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC Schedule_ExtractMoreSchedList(HCNTNR container,
                                                                     HCNTNROBJ more,
                                                                     TIMEDATE_PAIR* interval,
                                                                     DWORD* size, DHANDLE* list,
                                                                     HCNTNROBJ* nextMore) {
    return RunCall("Schedule_ExtractMoreSchedList", true, [&](Runtime& runtime) -> STATUS {
        ScheduleContainer* found = runtime.schedules.Find(container);
        if (found == nullptr)
            return kErrInvalidHandle;
        const auto continuation = found->continuations.find(more);
        if (continuation == found->continuations.end())
            return Fail(kErrInvalidHandle, "no such schedule list continuation");
        if (size == nullptr || list == nullptr || nextMore == nullptr)
            return kErrInvalidArgument;
        const ScheduleContinuation at = continuation->second;
        const PersonSchedule& schedule = *found->schedules[at.schedule];
        int64_t lower;
        int64_t upper;
        if (STATUS status = ListRange(schedule, interval, lower, upper))
            return status;
        size_t next = at.next;
        const std::vector<SCHED_ENTRY> entries = TakePiece(runtime, schedule, lower, upper, next);
        if (entries.empty()) {
            found->continuations.erase(continuation);
            *list = NULLHANDLE;
            *size = 0;
            *nextMore = 0;
            return ERR_SCHOBJ_NOTEXIST;
        }
        if (STATUS status = NewList(runtime, entries, list, size))
            return status;
        found->continuations.erase(continuation);
        *nextMore = AddContinuation(*found, at.schedule, next);
        return 0;
    });
}

extern "C" NOTESRT_API void LNPUBLIC SchContainer_Free(HCNTNR container) {
    RunPlainCall(0, [&](Runtime& runtime) {
        runtime.schedules.Remove(container);
        return 0;
    });
}
