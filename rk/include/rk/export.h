// RK_API marks the members of the RK toolkit that the library exports: exported while the
// library itself is built, imported by the programs that use it.
#pragma once

#if defined(_WIN32)
#if defined(KORVOLOTUSC_BUILD)
#define RK_API __declspec(dllexport)
#else
#define RK_API __declspec(dllimport)
#endif
#else
#define RK_API __attribute__((visibility("default")))
#endif
