// The one message box: Retry and Cancel.
//
// Windows: MessageBoxW with no owner window. Elsewhere there is no window: the answers come
// from $KORVO_MESSAGEBOX ("retry,retry,cancel", one per dialog; Cancel once it runs out) and
// the text and caption go to standard error.
#pragma once

#include "platform/wintypes.h"

namespace platform {

constexpr unsigned kMbRetryCancel = 0x5;       // MB_RETRYCANCEL
constexpr unsigned kMbIconExclamation = 0x30;  // MB_ICONEXCLAMATION
constexpr int kIdCancel = 2;                   // IDCANCEL
constexpr int kIdRetry = 4;                    // IDRETRY

// Shows a modal box and returns the button chosen (kIdRetry or kIdCancel).
int MessageBoxW(const WCHAR* text, const WCHAR* caption, unsigned style);

// Test seam: when set, every message box is answered by the hook instead of the system.
using MessageBoxHook = int (*)(const WCHAR* text, const WCHAR* caption, unsigned style,
                               void* context);
void SetMessageBoxHookForTesting(MessageBoxHook hook, void* context);

} // namespace platform
