#include "notestext.h"

#include "notesapi.h"
#include "trace.h"

#include "rk/convert.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

static constexpr char kTraceSource[] = "notesclib.cpp";

namespace {

constexpr int kCodePageUtf8 = 65001;         // the code page number of UTF-8
constexpr unsigned kUtf8BytesPerUnit = 4;    // room reserved per UTF-16 unit
constexpr unsigned kLmbcsBytesPerByte = 2;   // room reserved per UTF-8 byte in LMBCS
constexpr uint32_t kTranslatePiece = 0x7FFF; // UTF-8 bytes translated per runtime call

// text as UTF-8.
std::string ToUtf8(const CString& text) {
    std::string utf8(text.size() * kUtf8BytesPerUnit, '\0');
    const unsigned written =
        rk_str_convert(kCodePageUtf8, utf8.data(), static_cast<unsigned>(utf8.size()), text.data(),
                       static_cast<unsigned>(text.size()));
    utf8.resize(written);
    return utf8;
}

// A cleared block of size bytes, or null after logging the failure under function.
std::unique_ptr<char[]> AllocateCleared(size_t size, const char* function) {
    std::unique_ptr<char[]> block(new (std::nothrow) char[size]());
    if (!block)
        KORVO_TRACE(PM_SDK::kLevelFailure, function, "fail to allocate memory!!");
    return block;
}

// Translates UTF-8 text to LMBCS into out (room bytes) and returns the bytes written. The
// runtime takes 16-bit lengths, so long texts go in pieces that end on a character boundary.
uint32_t TranslateUtf8ToLmbcs(const std::string& utf8, char* out, uint32_t room) {
    uint32_t read = 0;
    uint32_t written = 0;
    while (read < utf8.size() && written < room) {
        uint32_t piece =
            std::min<uint32_t>(kTranslatePiece, static_cast<uint32_t>(utf8.size()) - read);
        while (read + piece < utf8.size() && piece > 1 &&
               (static_cast<unsigned char>(utf8[read + piece]) & 0xC0) == 0x80)
            --piece;
        const uint16_t outRoom = static_cast<uint16_t>(std::min<uint32_t>(room - written, 0xFFFF));
        written += OSTranslate(OS_TRANSLATE_UTF8_TO_LMBCS, utf8.data() + read,
                               static_cast<uint16_t>(piece), out + written, outRoom);
        read += piece;
    }
    return written;
}

} // namespace

void ConstructNotesLMBCSTextFromCString(const CString& text, TextEntry& out) {
    out = TextEntry{};
    const std::string utf8 = ToUtf8(text);
    const uint32_t room = static_cast<uint32_t>(utf8.size()) * kLmbcsBytesPerByte;
    out.text = AllocateCleared(size_t{room} + 1, "ConstructNotesLMBCSTextFromCString");
    if (!out.text)
        return;
    if (!utf8.empty())
        out.length = TranslateUtf8ToLmbcs(utf8, out.text.get(), room);
    out.text[out.length] = '\0';
}

void ConstructUTF8TextFromCString(const CString& text, TextEntry& out) {
    out = TextEntry{};
    const std::string utf8 = ToUtf8(text);
    out.text = AllocateCleared(utf8.size() + 1, "ConstructUTF8TextFromCString");
    if (!out.text)
        return;
    std::memcpy(out.text.get(), utf8.data(), utf8.size());
    out.length = static_cast<uint32_t>(utf8.size());
}

void ConstructTextEntry(const char* source, uint32_t length, TextEntry& out) {
    out = TextEntry{};
    if (source == nullptr || length == 0) {
        KORVO_TRACE(PM_SDK::kLevelFailure, "ConstructTextEntry", "Invalid parameter !!");
        return;
    }
    out.text = AllocateCleared(size_t{length} + 1, "ConstructTextEntry");
    if (!out.text)
        return;
    std::memcpy(out.text.get(), source, length);
    out.length = length;
}
