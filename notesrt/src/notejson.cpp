// Notes in the JSON form of database files.
#include "notejson.h"

#include "base64.h"

#include "identifiers.h"
#include "itemvalue.h"
#include "lmbcs.h"
#include "timedate.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace notesrt {
namespace {

using Json = nlohmann::ordered_json;

constexpr uint32_t kEastBit = 0x40000000u; // the zone lies east of GMT
constexpr uint32_t kDstBit = 0x80000000u;  // daylight saving time is in effect

// True when text can stand in a JSON string as it is (well-formed UTF-8).
bool IsJsonText(const std::string& text) {
    try {
        (void)Json(text).dump();
        return true;
    } catch (const Json::type_error&) {
        return false;
    }
}

// The UTF-8 text of LMBCS bytes when it reads back to the same bytes.
bool ExactUtf8(const std::string& lmbcs, std::string& utf8) {
    utf8 = LmbcsToUtf8(lmbcs);
    return Utf8ToLmbcs(utf8) == lmbcs;
}

Json RawValue(const Item& item) {
    return Json{
        {"raw", {{"type", item.type}, {"base64", EncodeBase64(ValueBytes(item).substr(2))}}}};
}

// The offset east of GMT, in seconds, that the zone bits of time carry (DST included).
int32_t ZoneOffsetOf(const TIMEDATE& time) {
    const uint32_t word = time.Innards[1];
    const int32_t standard =
        static_cast<int32_t>(((word >> 24) & 0xF) * 3600 + ((word >> 28) & 0x3) * 900);
    const int32_t east = (word & kEastBit) != 0 ? standard : -standard;
    return east + ((word & kDstBit) != 0 ? 3600 : 0);
}

std::string CivilText(const CivilTime& civil, unsigned hundredths) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", civil.year, civil.month,
                  civil.day, civil.hour, civil.minute, civil.second);
    std::string result = text;
    if (hundredths != 0) {
        std::snprintf(text, sizeof text, ".%02u", hundredths);
        result += text;
    }
    return result;
}

// The time text that reads back to time: wall-clock time of the process's zone when that
// reads back whole, else with the offset the time carries, else in UTC, which keeps at least
// the instant. False for a time outside the years the texts can write.
bool TimeText(const TIMEDATE& time, std::string& text) {
    int64_t utc;
    unsigned hundredths;
    if (!SplitTimeDate(time, utc, hundredths))
        return false;
    std::vector<std::string> candidates;
    CivilTime local;
    if (LocalCivil(utc, local))
        candidates.push_back(CivilText(local, hundredths));
    const int32_t offset = ZoneOffsetOf(time);
    if ((time.Innards[1] & kDstBit) == 0 && offset != 0) {
        char zone[16];
        std::snprintf(zone, sizeof zone, "%c%02d:%02d", offset < 0 ? '-' : '+',
                      std::abs(offset) / 3600, std::abs(offset) % 3600 / 60);
        candidates.push_back(CivilText(CivilOfSeconds(utc + offset), hundredths) + zone);
    }
    const std::string utcText = CivilText(CivilOfSeconds(utc), hundredths) + "Z";
    candidates.push_back(utcText);
    for (const std::string& candidate : candidates) {
        TIMEDATE read;
        if (ParseIsoTime(candidate, read) && read.Innards[0] == time.Innards[0] &&
            read.Innards[1] == time.Innards[1]) {
            text = candidate;
            return true;
        }
    }
    TIMEDATE read;
    if (!ParseIsoTime(utcText, read))
        return false;
    text = utcText;
    return true;
}

Json MimeJson(const MimeEntity& entity) {
    Json object = {{"contentType", entity.contentType}};
    if (!entity.charset.empty())
        object["charset"] = entity.charset;
    if (entity.attachment)
        object["attachment"] = true;
    if (entity.multipart) {
        Json parts = Json::array();
        for (const MimeEntity& part : entity.parts)
            parts.push_back(MimeJson(part));
        object["parts"] = std::move(parts);
    } else if (IsJsonText(entity.data)) {
        object["text"] = entity.data;
    } else {
        object["base64"] = EncodeBase64(entity.data);
    }
    return object;
}

Json TextValue(const Item& item) {
    std::string utf8;
    if (ExactUtf8(item.text, utf8))
        return utf8;
    return Json{{"lmbcs", EncodeBase64(item.text)}};
}

Json TextListValue(const Item& item) {
    Json list = Json::array();
    for (const std::string& entry : item.texts) {
        std::string utf8;
        if (!ExactUtf8(entry, utf8))
            return RawValue(item);
        list.push_back(utf8);
    }
    return list;
}

Json RichTextValue(const Item& item) {
    std::string joined;
    for (size_t i = 0; i < item.texts.size(); ++i) {
        std::string utf8;
        if (!ExactUtf8(item.texts[i], utf8) || utf8.find('\n') != std::string::npos)
            return RawValue(item);
        joined += (i == 0 ? "" : "\n") + utf8;
    }
    if (item.texts.empty())
        return RawValue(item);
    return Json{{"richtext", joined}};
}

Json TimesValue(const Item& item) {
    Json list = Json::array();
    for (const TIMEDATE& time : item.times) {
        std::string text;
        if (!TimeText(time, text))
            return RawValue(item);
        list.push_back(text);
    }
    if (item.kind == ValueKind::TimeList)
        return Json{{"times", list}};
    if (list.size() != 1)
        return RawValue(item);
    return Json{{"time", list[0]}};
}

Json ItemValue(const Item& item) {
    switch (item.kind) {
    case ValueKind::Text:
        return TextValue(item);
    case ValueKind::TextList:
        return TextListValue(item);
    case ValueKind::Number:
        return std::isfinite(item.number) ? Json(item.number) : RawValue(item);
    case ValueKind::Time:
    case ValueKind::TimeList:
        return TimesValue(item);
    case ValueKind::RichText:
        return RichTextValue(item);
    case ValueKind::Mime:
        return Json{{"mime", MimeJson(item.mime)}};
    case ValueKind::File:
        return Json{{"file",
                     {{"name", LmbcsToUtf8(item.file.name)},
                      {"base64", EncodeBase64(item.file.data)},
                      {"objectType", item.file.objectType},
                      {"hostType", item.file.hostType}}}};
    case ValueKind::Raw:
        break;
    }
    return RawValue(item);
}

} // namespace

bool NoteToJson(const Note& note, Json& object, std::string& problem) {
    const char* noteClass = nullptr;
    if (note.noteClass == NOTE_CLASS_DOCUMENT)
        noteClass = "document";
    else if (note.noteClass == NOTE_CLASS_VIEW)
        noteClass = "view";
    if (noteClass == nullptr) {
        problem = "note class " + std::to_string(note.noteClass) + " cannot be stored";
        return false;
    }
    Json items = Json::array();
    for (const Item& item : note.items)
        items.push_back(Json::array({LmbcsToUtf8(item.name), ItemValue(item)}));
    object = Json{{"noteId", note.noteId},
                  {"unid", UnidToHex(UnidOfNote(note))},
                  {"class", noteClass},
                  {"items", std::move(items)}};
    return true;
}

std::string NoteFileText(const Json& note) {
    std::string text = "{ ";
    const char* fieldSeparator = "";
    for (const auto& field : note.items()) {
        text += fieldSeparator + Json(field.key()).dump() + ": ";
        fieldSeparator = ", ";
        if (field.key() != "items" || !field.value().is_array() || field.value().empty()) {
            text += field.value().dump();
            continue;
        }
        const char* itemSeparator = "[\n        ";
        for (const Json& item : field.value()) {
            text += itemSeparator + item.dump();
            itemSeparator = ",\n        ";
        }
        text += " ]";
    }
    return text + " }";
}

} // namespace notesrt
