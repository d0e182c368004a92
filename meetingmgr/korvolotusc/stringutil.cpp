#include "stringutil.h"

#include "trace.h"

#include "platform/codepage.h"
#include "rk/convert.h"

#include <cstdio>
#include <cstring>
#include <utility>

static constexpr char kTraceSource[] = "stringutil.cpp";

namespace {

// Logs the rejection of a null output buffer (or one without room) of GetSubString.
unsigned RejectBuffer() {
    KORVO_TRACE(PM_SDK::kLevelRejected, "StringUtil::GetSubString", "Invalid Buffer!!");
    return 0;
}

// Logs the rejection of a null input of GetSubString.
unsigned RejectParameter() {
    KORVO_TRACE(PM_SDK::kLevelRejected, "StringUtil::GetSubString", "Invalid parameter!!");
    return 0;
}

// Logs the rejection of a null string of GetStringIndex.
unsigned RejectSource() {
    KORVO_TRACE(PM_SDK::kLevelFailure, "StringUtil::GetStringIndex", "Source string is NULL!!");
    return 0;
}

// Marks a piece that reached maxLen: its last character gives way to the terminator.
unsigned CutAtLimit(char* out, unsigned maxLen) {
    out[maxLen - 1] = '\0';
    return maxLen;
}

} // namespace

namespace StringUtil {

unsigned GetStringIndex(const char* str, char ch) {
    if (str == nullptr)
        return RejectSource();
    const unsigned length = static_cast<unsigned>(std::strlen(str));
    unsigned i = 0;
    while (i < length && str[i] != ch)
        ++i;
    return i;
}

unsigned GetStringIndex(const char* str, const char* pos) {
    if (str == nullptr)
        return RejectSource();
    const unsigned length = static_cast<unsigned>(std::strlen(str));
    unsigned i = 0;
    while (i < length && str + i != pos)
        ++i;
    return i;
}

unsigned GetSubString(const char* begin, const char* end, unsigned maxLen, char* out) {
    if (begin == nullptr || end == nullptr)
        return RejectParameter();
    if (out == nullptr || maxLen == 0)
        return RejectBuffer();
    for (unsigned i = 0; i < maxLen; ++i) {
        if (begin + i == end) {
            out[i] = '\0';
            return i;
        }
        out[i] = begin[i];
    }
    return CutAtLimit(out, maxLen);
}

unsigned GetSubString(const char* str, char delim, unsigned maxLen, char* out) {
    if (str == nullptr)
        return RejectParameter();
    if (out == nullptr || maxLen == 0)
        return RejectBuffer();
    const unsigned length = static_cast<unsigned>(std::strlen(str));
    for (unsigned i = 0; i < length; ++i) {
        if (i == maxLen)
            return CutAtLimit(out, maxLen);
        if (str[i] == delim) {
            out[i] = '\0';
            return i;
        }
        out[i] = str[i];
    }
    if (length == maxLen)
        return CutAtLimit(out, maxLen);
    out[length] = '\0';
    return length;
}

bool IsSameString(const char* a, const char* b) {
    if (a == nullptr || b == nullptr)
        return false;
    const size_t length = std::strlen(a);
    return length == std::strlen(b) && std::memcmp(a, b, length) == 0;
}

void Utf8ToWide(const char* text, CString& out) {
    if (text == nullptr)
        return;
    const unsigned length = static_cast<unsigned>(std::strlen(text));
    CString wide(static_cast<size_t>(length) + 1, WCHAR());
    wide.resize(rk_str_convert(static_cast<int>(platform::kCodePageUtf8), wide.data(), length, text,
                               length));
    out = std::move(wide);
}

CString FormatSystemTime(const SYSTEMTIME& t) {
    // Five digits at most per field: 35 characters and the NUL.
    char text[40];
    const int length = std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d:%02d", t.wMonth,
                                     t.wDay, t.wYear, t.wHour, t.wMinute, t.wSecond);
    return CString(text, text + length);
}

} // namespace StringUtil
