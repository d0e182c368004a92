// The Notes runtime calls as the library sees them. Binding to another runtime touches only
// this header and the link line.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#if defined(NOTESRT_BUILD)
#define NOTESRT_API __declspec(dllexport)
#else
#define NOTESRT_API __declspec(dllimport)
#endif
#else
#define NOTESRT_API __attribute__((visibility("default")))
#endif

extern "C" {

typedef uint16_t STATUS; // 0 for success; the low 14 bits are the error code

// Writes the runtime's text for (status AND 0x3fff) into buffer (at most bufferLength - 1
// characters and a NUL) and returns the text's length; 0 and an empty text for an unknown
// status.
NOTESRT_API uint16_t OSLoadString(void* module, STATUS status, char* buffer,
                                  uint16_t bufferLength);

} // extern "C"
