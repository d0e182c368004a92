// Memory blocks behind memory handles, for the calls that answer with one.
#pragma once

#include "runtime.h"

#include <string>

namespace notesrt {

// Allocates an unlocked block holding bytes and stores its handle in *handle. The caller
// of the runtime call that answers with it owns it.
STATUS NewBlock(Runtime& runtime, const std::string& bytes, DHANDLE* handle);

} // namespace notesrt
