// Collecting the links of a MIME body: any bytes, as the body's text lands in the calendar's
// shared buffer (cut to 61439 bytes, ending at the first NUL), searched for HREF=" and then
// href=" as GetURLFromAppointmentMIMEBody does. The result is a run of blocks, each a line of
// three blanks, a link of at most 1023 characters and another line of three blanks: it holds
// no double quote, starts and ends with such a line, and is no longer than one block per
// start tag allows, nor longer than the text and the blank lines together.
#include "notesitems.h"
#include "notesmailcalendar.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

constexpr size_t kLinkLimit = 1023; // characters a link is cut to

// Occurrences of tag in text.
size_t Count(std::string_view text, std::string_view tag) {
    size_t count = 0;
    for (size_t at = text.find(tag); at != std::string_view::npos; at = text.find(tag, at + 1))
        ++count;
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CNotesCalendar calendar;
    if (!calendar.AllocateTextBuffer())
        return 0;
    char* const buffer = calendar.m_pTextBuffer.get();
    if (size != 0)
        std::memcpy(buffer, data, std::min(size, kBodyBufferSize - 1));
    const std::string_view text(buffer);

    CString links;
    calendar.CollectTaggedText("HREF=\"", "\"", links);
    calendar.CollectTaggedText("href=\"", "\"", links);

    const CString blanks(KORVO_W("   \n"));
    const size_t tags = Count(text, "HREF=\"") + Count(text, "href=\"");
    const size_t framing = 2 * blanks.size();
    if (links.find(static_cast<WCHAR>('"')) != CString::npos ||
        links.size() > tags * (framing + kLinkLimit) || links.size() > tags * framing + text.size())
        std::abort();
    if (!links.empty() && (links.compare(0, blanks.size(), blanks) != 0 ||
                           links.compare(links.size() - blanks.size(), blanks.size(), blanks) != 0))
        std::abort();
    return 0;
}
