// Changing the items of an open note.
#include "itemedit.h"

#include "asciicase.h"
#include "items.h"

#include <cstddef>

namespace notesrt {

void SetNoteItem(Runtime& runtime, OpenNote& open, Item item) {
    std::vector<Item>& items = open.note.items;
    size_t place = items.size();
    FindItem(open.note, item.name, 0, place);
    for (size_t position = items.size(); position-- > place;) {
        if (EqualsIgnoringCase(items[position].name, item.name))
            items.erase(items.begin() + static_cast<std::ptrdiff_t>(position));
    }
    items.insert(items.begin() + static_cast<std::ptrdiff_t>(place), std::move(item));
    for (auto block = open.valueBlocks.begin(); block != open.valueBlocks.end();) {
        if (block->first >= place) {
            runtime.memory.Remove(block->second);
            block = open.valueBlocks.erase(block);
        } else {
            ++block;
        }
    }
}

} // namespace notesrt
