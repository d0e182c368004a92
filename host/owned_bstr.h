// Automation strings the host owns, freed with SysFreeString when they go out of scope.
#pragma once

#include "platform/oleauto.h"

#include <string>

namespace host {

using platform::UniqueBstr;

// The argument as a new BSTR (UTF-8 text converted to UTF-16); "@null" gives a null one.
UniqueBstr BstrArgument(const std::string& utf8);

// The text of a BSTR as UTF-8 (all SysStringLen units, NULs included).
std::string BstrToUtf8(BSTR text);

} // namespace host
