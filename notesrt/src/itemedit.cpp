// Changing the items of an open note.
#include "itemedit.h"

namespace notesrt {

void SetNoteItem(Runtime& runtime, OpenNote& open, const Item& item) {
    if (!open.ownItems) {
        open.ownItems = CopyOfNote(*open.items, open.Record());
        open.items = open.ownItems;
        open.position = 0;
    }
    const size_t place = open.ownItems->PutItem(item);
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
