// Marks the functions the host program exports for the library to find at run time.
#pragma once

#if defined(_WIN32)
#define KORVO_HOST_EXPORT __declspec(dllexport)
#else
#define KORVO_HOST_EXPORT __attribute__((visibility("default")))
#endif
