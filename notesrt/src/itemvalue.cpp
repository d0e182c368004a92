// Item values in byte form.
#include "itemvalue.h"

#include <cstring>

namespace notesrt {
namespace {

template <typename T> void Append(std::string& bytes, const T& value) {
    bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// Writes value at offset of bytes (which is long enough).
template <typename T> void Put(std::string& bytes, size_t offset, const T& value) {
    std::memcpy(&bytes[offset], &value, sizeof value);
}

std::string TextListBytes(const std::vector<std::string>& texts) {
    std::string bytes;
    Append(bytes, static_cast<uint16_t>(texts.size()));
    for (const std::string& text : texts)
        Append(bytes, static_cast<uint16_t>(text.size()));
    for (const std::string& text : texts)
        bytes += text;
    return bytes;
}

std::string TimeListBytes(const std::vector<TIMEDATE>& times) {
    std::string bytes;
    RANGE range = {static_cast<uint16_t>(times.size()), 0};
    Append(bytes, range);
    for (const TIMEDATE& time : times)
        Append(bytes, time);
    return bytes;
}

std::string ParagraphBytes(const std::vector<std::string>& paragraphs) {
    std::string bytes;
    for (const std::string& paragraph : paragraphs) {
        Append(bytes, static_cast<uint32_t>(paragraph.size()));
        bytes += paragraph;
    }
    return bytes;
}

// The file object descriptor: object type 0, file-name length 6, host type 8, file size 16,
// the name from 36; the other fields zero.
std::string FileObjectBytes(const FileObject& file) {
    std::string bytes(FILEOBJECT_SIZE, '\0');
    Put(bytes, 0, file.objectType);
    Put(bytes, 6, static_cast<uint16_t>(file.name.size()));
    Put(bytes, 8, file.hostType);
    Put(bytes, 16, static_cast<uint32_t>(file.data.size()));
    return bytes + file.name;
}

} // namespace

std::string ValueBytes(const Item& item) {
    std::string bytes;
    Append(bytes, item.type);
    switch (item.kind) {
    case ValueKind::Text:
        return bytes + item.text;
    case ValueKind::TextList:
        return bytes + TextListBytes(item.texts);
    case ValueKind::Number:
        Append(bytes, item.number);
        return bytes;
    case ValueKind::Time:
        Append(bytes, item.times.empty() ? TIMEDATE{} : item.times[0]);
        return bytes;
    case ValueKind::TimeList:
        return bytes + TimeListBytes(item.times);
    case ValueKind::RichText:
        return bytes + ParagraphBytes(item.texts);
    case ValueKind::Mime:
        return bytes + item.mime.data;
    case ValueKind::File:
        return bytes + FileObjectBytes(item.file);
    case ValueKind::Raw:
        return bytes + item.raw;
    }
    return bytes;
}

bool ReadParagraphs(std::string_view bytes, std::vector<std::string>& paragraphs) {
    paragraphs.clear();
    size_t offset = 0;
    while (offset < bytes.size()) {
        uint32_t length;
        if (bytes.size() - offset < sizeof length)
            return false;
        std::memcpy(&length, bytes.data() + offset, sizeof length);
        offset += sizeof length;
        if (bytes.size() - offset < length)
            return false;
        paragraphs.emplace_back(bytes.substr(offset, length));
        offset += length;
    }
    return true;
}

} // namespace notesrt
