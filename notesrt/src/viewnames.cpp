// The names of design notes.
#include "viewnames.h"

#include "asciicase.h"

namespace notesrt {
namespace {

// True when name (compared ignoring case) is one of the "|"-separated parts of title.
bool TitleHasName(std::string_view title, std::string_view name) {
    size_t start = 0;
    for (;;) {
        const size_t bar = title.find('|', start);
        if (EqualsIgnoringCase(title.substr(start, bar - start), name))
            return true;
        if (bar == std::string_view::npos)
            return false;
        start = bar + 1;
    }
}

} // namespace

bool HasViewName(const Model& db, const NoteRecord& note, std::string_view name) {
    uint32_t title;
    if (!db.FoldedName("$TITLE", title))
        return false;
    size_t position = 0;
    for (size_t from = 0; db.FindItem(note, title, from, position); from = position + 1) {
        const ItemView item = db.ItemAt(note, position);
        if (item.kind == ValueKind::Text && TitleHasName(item.data, name))
            return true;
        std::string_view records =
            item.kind == ValueKind::TextList || item.kind == ValueKind::RichText
                ? item.data
                : std::string_view();
        std::string_view entry;
        while (NextText(records, entry)) {
            if (TitleHasName(entry, name))
                return true;
        }
    }
    return false;
}

} // namespace notesrt
