// Memory handles: OSMemAlloc, OSMemFree, OSMemGetSize, OSLockObject, OSUnlockObject.
#include "memory.h"

namespace notesrt {

STATUS NewBlock(Runtime& runtime, const std::string& bytes, DHANDLE* handle) {
    MemoryBlock block;
    block.bytes.assign(bytes.begin(), bytes.end());
    if (block.bytes.empty())
        block.bytes.resize(1);
    const DHANDLE added = runtime.memory.Add(std::move(block));
    if (added == 0)
        return kErrTooManyHandles;
    *handle = added;
    return 0;
}

} // namespace notesrt

using namespace notesrt;

extern "C" NOTESRT_API STATUS LNPUBLIC OSMemAlloc(uint16_t blockType, uint32_t size,
                                                  DHANDLE* handle) {
    return RunCall("OSMemAlloc", true, [&](Runtime& runtime) -> STATUS {
        if (handle == nullptr)
            return kErrInvalidArgument;
        if (size > kMaxBlockSize)
            return kErrNoMemory;
        MemoryBlock block;
        block.bytes.assign(size == 0 ? 1 : size, '\0');
        block.blockType = blockType;
        const DHANDLE added = runtime.memory.Add(std::move(block));
        if (added == 0)
            return kErrTooManyHandles;
        *handle = added;
        return 0;
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC OSMemFree(DHANDLE handle) {
    return RunReleaseCall("OSMemFree", [&](Runtime& runtime) -> STATUS {
        if (handle == NULLHANDLE)
            return 0;
        const MemoryBlock* block = runtime.memory.Find(handle);
        if (block == nullptr)
            return kErrInvalidHandle;
        if (block->owner != 0)
            return Fail(kErrInvalidHandle, "the block belongs to a note or a MIME directory");
        runtime.memory.Remove(handle);
        return 0;
    });
}

extern "C" NOTESRT_API STATUS LNPUBLIC OSMemGetSize(DHANDLE handle, uint32_t* size) {
    return RunCall("OSMemGetSize", true, [&](Runtime& runtime) -> STATUS {
        const MemoryBlock* block = runtime.memory.Find(handle);
        if (block == nullptr)
            return kErrInvalidHandle;
        if (size == nullptr)
            return kErrInvalidArgument;
        *size = static_cast<uint32_t>(block->bytes.size());
        return 0;
    });
}

extern "C" NOTESRT_API void* LNPUBLIC OSLockObject(DHANDLE handle) {
    Runtime& runtime = TheRuntime();
    CallScope scope(runtime);
    MemoryBlock* block = runtime.memory.Find(handle);
    if (block == nullptr)
        return nullptr;
    ++block->locks;
    return block->bytes.data();
}

extern "C" NOTESRT_API BOOL LNPUBLIC OSUnlockObject(DHANDLE handle) {
    Runtime& runtime = TheRuntime();
    CallScope scope(runtime);
    MemoryBlock* block = runtime.memory.Find(handle);
    if (block == nullptr || block->locks == 0)
        return 0;
    --block->locks;
    return block->locks != 0 ? 1 : 0;
}
