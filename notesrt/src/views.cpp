// Design notes by name: NIFFindView.
#include "asciicase.h"
#include "runtime.h"

using namespace notesrt;

namespace {

// True when name is one of the note's names: the "|"-separated parts of its $TITLE items.
bool HasName(const Note& note, const std::string& name) {
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
                if (EqualsIgnoringCase(title.substr(start, bar - start), name))
                    return true;
                if (bar == std::string::npos)
                    break;
                start = bar + 1;
            }
        }
    }
    return false;
}

} // namespace

extern "C" NOTESRT_API STATUS NIFFindView(DBHANDLE db, const char* name, uint16_t noteClass,
                                          const char*, NOTEID* noteId, uint32_t) {
    return RunCall("NIFFindView", true, [&](Runtime& runtime) -> STATUS {
        const OpenDatabase* open = runtime.databases.Find(db);
        if (open == nullptr)
            return kErrInvalidHandle;
        if (name == nullptr || noteId == nullptr)
            return kErrInvalidArgument;
        for (const Note& note : open->db->notes) {
            if (note.noteClass == noteClass && HasName(note, name)) {
                *noteId = note.noteId;
                return 0;
            }
        }
        return ERR_NOT_FOUND;
    });
}
