// The Retry/Cancel message box: MessageBoxW without an owner, or the test's hook.
#include "windows_api.h"

#include "platform/dialog.h"

#include <mutex>

namespace platform {
namespace {

// The hook a test has installed, if any.
struct HookSlot {
    std::mutex lock;               // guards the two fields below
    MessageBoxHook hook = nullptr; // answers every box while set
    void* context = nullptr;       // handed to the hook unchanged
};

HookSlot& TheHookSlot() {
    static HookSlot slot;
    return slot;
}

} // namespace

int MessageBoxW(const WCHAR* text, const WCHAR* caption, unsigned style) {
    MessageBoxHook hook = nullptr;
    void* context = nullptr;
    {
        HookSlot& slot = TheHookSlot();
        std::lock_guard<std::mutex> hold(slot.lock);
        hook = slot.hook;
        context = slot.context;
    }
    if (hook != nullptr)
        return hook(text, caption, style, context);
    return ::MessageBoxW(nullptr, text, caption, style);
}

void SetMessageBoxHookForTesting(MessageBoxHook hook, void* context) {
    HookSlot& slot = TheHookSlot();
    std::lock_guard<std::mutex> hold(slot.lock);
    slot.hook = hook;
    slot.context = context;
}

} // namespace platform
