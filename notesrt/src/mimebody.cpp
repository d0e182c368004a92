// MIME bodies seen as rich text, for notes opened without OPEN_RAW_MIME.
#include "asciicase.h"
#include "lmbcs.h"
#include "notes.h"

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

// The lines of text (LF or CR LF ends a line) in LMBCS.
std::vector<std::string> Paragraphs(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        size_t stop = end;
        if (stop > start && text[stop - 1] == '\r')
            --stop;
        lines.push_back(Utf8ToLmbcs(text.substr(start, stop - start)));
        start = end + 1;
    }
    return lines;
}

} // namespace

void ShowMimeAsRichText(Note& note) {
    for (Item& item : note.items) {
        if (item.kind != ValueKind::Mime)
            continue;
        const MimeEntity* text = FirstTextPart(item.mime);
        item.kind = ValueKind::RichText;
        item.type = TYPE_COMPOSITE;
        item.texts = text != nullptr ? Paragraphs(text->data) : std::vector<std::string>();
        item.mime = MimeEntity();
    }
}

} // namespace notesrt
