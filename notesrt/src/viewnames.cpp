// The names of design notes.
#include "viewnames.h"

#include "asciicase.h"

namespace notesrt {

bool HasViewName(const Note& note, std::string_view name) {
    for (const Item& item : note.items) {
        if (!EqualsIgnoringCase(item.name, "$TITLE"))
            continue;
        std::vector<std::string> titles = item.texts;
        if (item.kind == ValueKind::Text)
            titles.push_back(item.text);
        for (const std::string& title : titles) {
            size_t start = 0;
            for (;;) {
                const size_t bar = title.find('|', start);
                if (EqualsIgnoringCase(std::string_view(title).substr(start, bar - start), name))
                    return true;
                if (bar == std::string::npos)
                    break;
                start = bar + 1;
            }
        }
    }
    return false;
}

} // namespace notesrt
