// The one place the platform layer includes the Windows headers.
//
// Every Win32 source of the platform layer includes this header first, before any platform
// header, so that the value types of platform/wintypes.h come from the system headers.
// Inside namespace platform, system calls are always written with a leading "::" because
// many platform functions carry the same names as the calls they wrap.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif

#include <windows.h>

// Automation strings; WIN32_LEAN_AND_MEAN keeps them out of <windows.h>.
#include <oleauto.h>
