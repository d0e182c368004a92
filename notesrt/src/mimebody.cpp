// MIME bodies seen as rich text, for notes opened without OPEN_RAW_MIME.
#include "asciicase.h"
#include "lmbcs.h"
#include "model.h"

namespace notesrt {
namespace {

bool IsTextPart(const MimeEntity& entity) {
    return !entity.multipart && !entity.attachment &&
           LowerAscii(entity.contentType).compare(0, 5, "text/") == 0;
}

// The first text part of entity's tree, depth first; null when there is none.
const MimeEntity* FirstTextPart(const MimeEntity& entity) {
    if (IsTextPart(entity))
        return &entity;
    for (const MimeEntity& part : entity.parts) {
        if (const MimeEntity* found = FirstTextPart(part))
            return found;
    }
    return nullptr;
}

} // namespace

std::string RichTextOfMime(const MimeEntity& root) {
    std::string records;
    const MimeEntity* part = FirstTextPart(root);
    if (part == nullptr)
        return records;
    const std::string& text = part->data;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        size_t stop = end;
        if (stop > start && text[stop - 1] == '\r')
            --stop;
        AppendText(records, Utf8ToLmbcs(std::string_view(text).substr(start, stop - start)));
        start = end + 1;
    }
    return records;
}

} // namespace notesrt
