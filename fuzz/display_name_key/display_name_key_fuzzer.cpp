// The lookup key of a Notes display name, and the record GetAttendeeInfo makes of a name that
// no address book knows: any text up to its first NUL. The key fills at most 255 bytes of its
// zero-filled 256-byte buffer and is a piece of the name (the whole name, cut to 255, when it
// holds both "@" and "/" where LMBCS characters begin, not as bytes inside one); names of more
// than 256 characters give no key. The record carries that key and the name itself as name
// and e-mail address.
#include "notescontact.h"
#include "notesmailcalendar.h"
#include "stringutil.h"

#include "rk/convert.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr size_t kKeyBuffer = 256; // bytes of a key buffer

// text widened from the ANSI code page, as the library widens names.
CString Widen(const char* text) {
    CString wide;
    RK::_cstring_set(wide, 0, text, RK::kWholeString);
    return wide;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t length = std::strlen(input.c_str());
    // Exactly sized, so a write past the buffer is caught.
    const std::unique_ptr<char[]> key(new char[kKeyBuffer]);
    std::memset(key.get(), 'x', kKeyBuffer);
    GetStringKeyOfNotesDisplayName(input.c_str(), key.get());

    const char* const keyEnd = static_cast<const char*>(std::memchr(key.get(), '\0', kKeyBuffer));
    if (keyEnd == nullptr)
        std::abort();
    const size_t keyLength = static_cast<size_t>(keyEnd - key.get());
    for (size_t i = keyLength; i < kKeyBuffer; ++i)
        if (key[i] != '\0')
            std::abort();
    if (length > kKeyBuffer && keyLength != 0)
        std::abort();
    if (input.find(key.get(), 0, keyLength) == std::string::npos)
        std::abort();
    const bool wholeName = StringUtil::FindInLmbcs(input.c_str(), length, 0, "@") != length &&
                           StringUtil::FindInLmbcs(input.c_str(), length, 0, "/") != length &&
                           length <= kKeyBuffer;
    if (wholeName &&
        input.compare(0, std::min<size_t>(length, kKeyBuffer - 1), key.get(), keyLength) != 0)
        std::abort();

    if (length != 0) {
        CNotesCalendar calendar;
        AttendeeInfo record;
        calendar.GetAttendeeInfo(input.c_str(), record);
        const CString name = Widen(input.c_str());
        if (record.key != Widen(key.get()) || record.name != name || record.email != name)
            std::abort();
        CNotesContacts::DestroyInstance();
    }
    return 0;
}
