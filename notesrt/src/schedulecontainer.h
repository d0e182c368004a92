// Schedule containers: the free/busy answers of SchRetrieve.
#pragma once

#include "notesapi.h"

#include <cstddef>
#include <map>
#include <memory>
#include <vector>

namespace notesrt {

// One busy interval of a person.
struct BusyTime {
    UNID unid;      // the appointment note's UNID
    TIMEDATE start; // busy from
    TIMEDATE end;   // busy until
};

// A schedule record as SchContainer_FindSchedule hands it out: the owner's name follows the
// head directly.
struct ScheduleRecord {
    SCHEDULE head = {};           // Interval, error and the name's size
    char owner[MAXUSERNAME] = {}; // the person's canonical name and a NUL
};

// A person's schedule.
struct PersonSchedule {
    ScheduleRecord record;      // what SchContainer_FindSchedule points at
    STATUS status = 0;          // why the mail file could not be read; 0 when it was
    std::vector<BusyTime> busy; // intervals overlapping record.head.Interval, in start order
};

// Where the next schedule list of a schedule continues.
struct ScheduleContinuation {
    size_t schedule = 0; // index of the schedule in its container
    size_t next = 0;     // index of the first busy interval not yet looked at
};

// What SchRetrieve answered. Schedule objects are the schedules' indexes plus 1.
struct ScheduleContainer {
    std::vector<std::unique_ptr<PersonSchedule>> schedules;  // at stable addresses
    std::map<HCNTNROBJ, ScheduleContinuation> continuations; // by object
    HCNTNROBJ nextObject = 0;                                // last object number handed out
};

} // namespace notesrt
