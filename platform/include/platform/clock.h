// The local clock and the FILETIME to SYSTEMTIME conversion.
#pragma once

#include "platform/wintypes.h"

namespace platform {

// The current local time (GetLocalTime), or the test's fixed time when one is set.
void GetLocalTime(SYSTEMTIME* now);

// FileTimeToSystemTime: UTC fields of a FILETIME; false when it is at or beyond 2^63.
bool FileTimeToSystemTime(const FILETIME* ft, SYSTEMTIME* st);

// Test seam: GetLocalTime answers *fixed from now on; null returns to the real clock.
void SetLocalTimeForTesting(const SYSTEMTIME* fixed);

} // namespace platform
