// Simple case folding of UTF-16 units, for comparisons that ignore case.
#pragma once

#include "platform/wintypes.h"

namespace platform::detail {

// The lower-case form of unit as towlower gives it for the scripts covered (Latin with its
// extensions A and Additional, most of B, Greek, Cyrillic, Armenian, letter-like symbols,
// full-width Latin); every other unit is its own fold. As in Windows' comparisons, the
// capital I with dot above (U+0130) is not the same letter as i.
WCHAR FoldCase(WCHAR unit);

} // namespace platform::detail
