// Text lists: ListAllocate and ListAddEntry.
//
// A list is [data type, when prefixed] entry count, one 16-bit length per entry, then the
// texts one after the other, all in one memory block; 16-bit words in the machine's order.
#include "memory.h"

#include <cstddef>
#include <cstring>

using namespace notesrt;

namespace {

uint16_t ReadWord(const std::vector<char>& bytes, size_t offset) {
    uint16_t word;
    std::memcpy(&word, bytes.data() + offset, sizeof word);
    return word;
}

void AppendWord(std::vector<char>& bytes, uint16_t word) {
    const char* raw = reinterpret_cast<const char*>(&word);
    bytes.insert(bytes.end(), raw, raw + sizeof word);
}

size_t PrefixSize(int prefixDataType) {
    return prefixDataType != 0 ? sizeof(uint16_t) : 0;
}

} // namespace

extern "C" NOTESRT_API STATUS LNPUBLIC ListAllocate(WORD entries, WORD textSize,
                                                    BOOL prefixDataType, DHANDLE* handle,
                                                    void* list, WORD* listSize) {
    return RunCall("ListAllocate", true, [&](Runtime& runtime) -> STATUS {
        if (handle == nullptr)
            return kErrInvalidArgument;
        const size_t size =
            PrefixSize(prefixDataType) + sizeof(uint16_t) + sizeof(uint16_t) * entries + textSize;
        if (size > 0xFFFF)
            return kErrListInvalid;
        MemoryBlock block;
        if (prefixDataType != 0)
            AppendWord(block.bytes, TYPE_TEXT_LIST);
        AppendWord(block.bytes, entries);
        block.bytes.resize(size, '\0');
        block.locks = 1;
        const DHANDLE added = runtime.memory.Add(std::move(block));
        if (added == 0)
            return kErrTooManyHandles;
        *handle = added;
        if (list != nullptr)
            *static_cast<void**>(list) = runtime.memory.Find(added)->bytes.data();
        if (listSize != nullptr)
            *listSize = static_cast<uint16_t>(size);
        return 0;
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC ListAddEntry(DHANDLE handle, int prefixDataType,
                                                    uint16_t* listSize, uint16_t entryNumber,
                                                    const char* text, uint16_t textSize) {
    return RunCall("ListAddEntry", true, [&](Runtime& runtime) -> STATUS {
        MemoryBlock* block = runtime.memory.Find(handle);
        if (block == nullptr)
            return kErrInvalidHandle;
        if (listSize == nullptr || (text == nullptr && textSize != 0))
            return kErrInvalidArgument;
        const std::vector<char>& bytes = block->bytes;
        const size_t prefix = PrefixSize(prefixDataType);
        const size_t size = *listSize;
        if (size > bytes.size() || size < prefix + sizeof(uint16_t))
            return kErrListInvalid;
        const uint16_t count = ReadWord(bytes, prefix);
        const size_t lengthsEnd = prefix + sizeof(uint16_t) * (1u + count);
        if (lengthsEnd > size)
            return kErrListInvalid;
        size_t textEnd = lengthsEnd;
        size_t insertAt = lengthsEnd;
        for (uint16_t i = 0; i < count; ++i) {
            if (i == entryNumber)
                insertAt = textEnd;
            textEnd += ReadWord(bytes, prefix + sizeof(uint16_t) * (1u + i));
        }
        if (entryNumber == count)
            insertAt = textEnd;
        if (textEnd > size)
            return kErrListInvalid;
        if (entryNumber > count)
            return kErrInvalidArgument;
        const size_t newSize = size + sizeof(uint16_t) + textSize;
        if (count == 0xFFFF || newSize > 0xFFFF)
            return kErrListInvalid;
        std::vector<char> rebuilt;
        rebuilt.reserve(newSize);
        rebuilt.insert(rebuilt.end(), bytes.begin(),
                       bytes.begin() + static_cast<std::ptrdiff_t>(prefix));
        AppendWord(rebuilt, static_cast<uint16_t>(count + 1));
        for (uint16_t i = 0; i <= count; ++i) {
            if (i == entryNumber)
                AppendWord(rebuilt, textSize);
            if (i < count)
                AppendWord(rebuilt, ReadWord(bytes, prefix + sizeof(uint16_t) * (1u + i)));
        }
        const auto at = [&](size_t offset) {
            return bytes.begin() + static_cast<std::ptrdiff_t>(offset);
        };
        rebuilt.insert(rebuilt.end(), at(lengthsEnd), at(insertAt));
        if (textSize != 0)
            rebuilt.insert(rebuilt.end(), text, text + textSize);
        rebuilt.insert(rebuilt.end(), at(insertAt), at(size));
        block->bytes = std::move(rebuilt);
        *listSize = static_cast<uint16_t>(newSize);
        return 0;
    });
}
