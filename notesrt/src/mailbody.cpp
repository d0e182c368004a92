// Message bodies: MailCreateBodyItem, MailAppendBodyItemLine, MailAddBodyItemExt.
//
// A body is a memory block of the caller's holding its lines in the byte form of rich-text
// values: one record per line, a 32-bit length and the line's LMBCS bytes.
#include "itemedit.h"
#include "itemvalue.h"
#include "memory.h"

#include <string_view>

using namespace notesrt;

namespace {

// The caller's body block handle, when its first length bytes are whole lines.
STATUS FindBody(Runtime& runtime, DHANDLE handle, uint32_t length, MemoryBlock*& block) {
    block = runtime.memory.Find(handle);
    if (block == nullptr || block->owner != 0)
        return kErrInvalidHandle;
    if (length > block->bytes.size() || !WholeTexts(std::string_view(block->bytes.data(), length)))
        return Fail(kErrInvalidArgument, "not a message body");
    return 0;
}

void AppendLine(std::vector<char>& bytes, std::string_view line) {
    const auto length = static_cast<uint32_t>(line.size());
    const char* raw = reinterpret_cast<const char*>(&length);
    bytes.insert(bytes.end(), raw, raw + sizeof length);
    bytes.insert(bytes.end(), line.begin(), line.end());
}

} // namespace

extern "C" NOTESRT_API STATUS LNPUBLIC MailCreateBodyItem(DHANDLE* bodyItem,
                                                          uint32_t* bodyItemLength) {
    return RunCall("MailCreateBodyItem", true, [&](Runtime& runtime) -> STATUS {
        if (bodyItem == nullptr || bodyItemLength == nullptr)
            return kErrInvalidArgument;
        if (STATUS status = NewBlock(runtime, std::string(), bodyItem))
            return status;
        *bodyItemLength = 0;
        return 0;
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC MailAppendBodyItemLine(DHANDLE bodyItem,
                                                              DWORD* bodyItemLength, char* text,
                                                              WORD textLength) {
    return RunCall("MailAppendBodyItemLine", true, [&](Runtime& runtime) -> STATUS {
        if (bodyItemLength == nullptr || (text == nullptr && textLength != 0))
            return kErrInvalidArgument;
        MemoryBlock* block;
        if (STATUS status = FindBody(runtime, bodyItem, *bodyItemLength, block))
            return status;
        const std::string_view added(text == nullptr ? "" : text, textLength);
        const size_t most =
            size_t{*bodyItemLength} + added.size() + sizeof(uint32_t) * (added.size() + 1);
        if (most > kMaxBlockSize)
            return kErrNoMemory;
        // Room first, so that a failed allocation leaves the body as it was.
        std::vector<char>& bytes = block->bytes;
        bytes.reserve(most);
        bytes.resize(*bodyItemLength);
        size_t start = 0;
        for (;;) {
            const size_t end = added.find('\0', start);
            AppendLine(bytes, added.substr(start, end - start));
            if (end == std::string_view::npos)
                break;
            start = end + 1;
        }
        *bodyItemLength = static_cast<uint32_t>(bytes.size());
        return 0;
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC MailAddBodyItemExt(NOTEHANDLE message, DHANDLE bodyItem,
                                                          uint32_t bodyItemLength, void*) {
    return RunCall("MailAddBodyItemExt", true, [&](Runtime& runtime) -> STATUS {
        OpenNote* open = runtime.notes.Find(message);
        if (open == nullptr)
            return kErrInvalidHandle;
        Item body;
        body.name = "Body";
        body.kind = ValueKind::RichText;
        body.type = TYPE_COMPOSITE;
        MemoryBlock* block;
        if (STATUS status = FindBody(runtime, bodyItem, bodyItemLength, block))
            return status;
        ReadParagraphs(std::string_view(block->bytes.data(), bodyItemLength), body.texts);
        SetNoteItem(runtime, *open, body);
        return 0;
    });
}
