// The local clock, with a fixed time that tests can set, and FILETIME conversion.
#include "windows_api.h"

#include "platform/clock.h"

#include <mutex>

namespace platform {
namespace {

// The time a test has fixed, if any.
struct FixedClock {
    std::mutex lock;      // guards the two fields below
    bool isSet = false;   // true while a test has fixed the time
    SYSTEMTIME time = {}; // the fixed time
};

FixedClock& TheFixedClock() {
    static FixedClock clock;
    return clock;
}

} // namespace

void GetLocalTime(SYSTEMTIME* now) {
    if (now == nullptr)
        return;
    FixedClock& fixed = TheFixedClock();
    {
        std::lock_guard<std::mutex> hold(fixed.lock);
        if (fixed.isSet) {
            *now = fixed.time;
            return;
        }
    }
    ::GetLocalTime(now);
}

bool FileTimeToSystemTime(const FILETIME* ft, SYSTEMTIME* st) {
    if (ft == nullptr || st == nullptr)
        return false;
    return ::FileTimeToSystemTime(ft, st) != FALSE;
}

void SetLocalTimeForTesting(const SYSTEMTIME* fixed) {
    FixedClock& clock = TheFixedClock();
    std::lock_guard<std::mutex> hold(clock.lock);
    clock.isSet = fixed != nullptr;
    if (fixed != nullptr)
        clock.time = *fixed;
}

} // namespace platform
