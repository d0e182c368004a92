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

void AppendTextList(std::string& bytes, std::string_view records) {
    std::vector<std::string_view> texts;
    std::string_view text;
    while (NextText(records, text))
        texts.push_back(text);
    Append(bytes, static_cast<uint16_t>(texts.size()));
    for (const std::string_view entry : texts)
        Append(bytes, static_cast<uint16_t>(entry.size()));
    for (const std::string_view entry : texts)
        bytes += entry;
}

// The file object descriptor: object type 0, file-name length 6, host type 8, file size 16,
// the name from 36; the other fields zero.
void AppendFileObject(std::string& bytes, const FileObject& file) {
    std::string descriptor(FILEOBJECT_SIZE, '\0');
    Put(descriptor, 0, file.objectType);
    Put(descriptor, 6, static_cast<uint16_t>(file.name.size()));
    Put(descriptor, 8, file.hostType);
    Put(descriptor, 16, static_cast<uint32_t>(file.data.size()));
    bytes += descriptor + file.name;
}

} // namespace

std::string ValueBytes(const ItemView& item) {
    std::string bytes;
    Append(bytes, item.type);
    switch (item.kind) {
    case ValueKind::Text:
    case ValueKind::RichText:
    case ValueKind::Raw:
        bytes += item.data;
        break;
    case ValueKind::TextList:
        AppendTextList(bytes, item.data);
        break;
    case ValueKind::Number:
        Append(bytes, NumberOf(item));
        break;
    case ValueKind::Time:
        Append(bytes, TimeCount(item) == 0 ? TIMEDATE{} : TimeAt(item, 0));
        break;
    case ValueKind::TimeList:
        Append(bytes, RANGE{static_cast<uint16_t>(TimeCount(item)), 0});
        bytes += item.data;
        break;
    case ValueKind::Mime:
        bytes += item.mime->data;
        break;
    case ValueKind::File:
        AppendFileObject(bytes, *item.file);
        break;
    }
    return bytes;
}

std::string ValueBytes(const Item& item) {
    const std::shared_ptr<Model> model = EmptyNoteModel();
    model->PutItem(item);
    return ValueBytes(model->ItemAt(model->Notes().front(), 0));
}

bool ReadParagraphs(std::string_view bytes, std::vector<std::string>& paragraphs) {
    paragraphs.clear();
    std::string_view text;
    while (NextText(bytes, text))
        paragraphs.emplace_back(text);
    return bytes.empty();
}

} // namespace notesrt
