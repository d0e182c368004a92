// Items read as text and as times: NSFItemGetText, NSFItemConvertToText, NSFItemGetTime.
#include "items.h"
#include "os.h"
#include "runtime.h"
#include "timetext.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace notesrt;

namespace {

// The shortest decimal form that reads back as value.
std::string NumberText(double value) {
    if (!std::isfinite(value))
        return std::string();
    char text[32];
    for (int precision = 1; precision <= 17; ++precision) {
        std::snprintf(text, sizeof text, "%.*g", precision, value);
        if (std::strtod(text, nullptr) == value)
            break;
    }
    return text;
}

// The text of an item that is not a time or time list, list entries separated by separator;
// false for a type without a text form.
bool ItemText(const ItemView& item, char separator, std::string& text) {
    text.clear();
    switch (item.kind) {
    case ValueKind::Text:
        text = std::string(item.data);
        return true;
    case ValueKind::TextList: {
        std::string_view records = item.data;
        std::string_view entry;
        for (bool first = true; NextText(records, entry); first = false) {
            if (!first)
                text += separator;
            text += entry;
        }
        return true;
    }
    case ValueKind::Number:
        text = NumberText(NumberOf(item));
        return true;
    default:
        return false;
    }
}

// The text of a time or time list item, entries separated by separator: a cached one when it
// is for the same list and separator in the same zone.
const std::string& TimesTextOf(TimesTextCache& cache, const ItemView& item, char separator) {
    std::string zone = ZoneIdentity();
    for (const TimesText& kept : cache.lists) {
        if (kept.times == item.data && kept.separator == separator && kept.zone == zone)
            return kept.text;
    }
    TimesText& made = cache.lists[cache.next];
    cache.next = (cache.next + 1) % TimesTextCache::kLists;
    made.text.clear();
    for (size_t i = 0; i < TimeCount(item); ++i) {
        if (i != 0)
            made.text += separator;
        made.text += ItemTimeText(TimeAt(item, i));
    }
    made.times = std::string(item.data);
    made.separator = separator;
    made.zone = std::move(zone);
    return made.text;
}

// Writes the first item named name as text into buffer (at most bufferLength - 1 bytes and
// a NUL) and returns the whole text's length, at most 65535.
uint16_t ReadItemText(Runtime& runtime, NOTEHANDLE note, const char* name, char* buffer,
                      uint16_t bufferLength, char separator) {
    if (buffer == nullptr || bufferLength == 0)
        return 0;
    buffer[0] = '\0';
    const OpenNote* open = runtime.notes.Find(note);
    size_t position;
    if (open == nullptr || name == nullptr || !FindItem(*open, name, 0, position))
        return 0;
    const ItemView item = open->ItemAt(position);
    std::string ownText;
    const bool times = item.kind == ValueKind::Time || item.kind == ValueKind::TimeList;
    if (!times && !ItemText(item, separator, ownText))
        return 0;
    const std::string& text = times ? TimesTextOf(runtime.timesText, item, separator) : ownText;
    const size_t copied = std::min<size_t>(text.size(), bufferLength - 1u);
    std::memcpy(buffer, text.data(), copied);
    buffer[copied] = '\0';
    return static_cast<uint16_t>(std::min<size_t>(text.size(), 0xFFFF));
}

} // namespace

extern "C" NOTESRT_API WORD LNPUBLIC NSFItemGetText(NOTEHANDLE note, const char* name, char* buffer,
                                                    uint16_t bufferLength) {
    return RunValueCall<uint16_t>("NSFItemGetText", 0, [&](Runtime& runtime) {
        return ReadItemText(runtime, note, name, buffer, bufferLength, ';');
    });
}

extern "C" NOTESRT_API WORD LNPUBLIC NSFItemConvertToText(NOTEHANDLE note, const char* name,
                                                          char* buffer, uint16_t bufferLength,
                                                          char separator) {
    return RunValueCall<uint16_t>("NSFItemConvertToText", 0, [&](Runtime& runtime) {
        return ReadItemText(runtime, note, name, buffer, bufferLength, separator);
    });
}

extern "C" NOTESRT_API BOOL LNPUBLIC NSFItemGetTime(NOTEHANDLE note, const char* name,
                                                    TIMEDATE* time) {
    return RunValueCall("NSFItemGetTime", 0, [&](Runtime& runtime) {
        const OpenNote* open = runtime.notes.Find(note);
        size_t position;
        if (open == nullptr || name == nullptr || time == nullptr ||
            !FindItem(*open, name, 0, position))
            return 0;
        const ItemView item = open->ItemAt(position);
        if ((item.kind != ValueKind::Time && item.kind != ValueKind::TimeList) ||
            TimeCount(item) == 0)
            return 0;
        *time = TimeAt(item, 0);
        return 1;
    });
}
