// The argument word that stands for "no string".
#pragma once

namespace host {

// Passes a null BSTR (a null FILETIME pointer for a date, an empty CString for contact
// queries, whose strings cannot be null).
constexpr char kNullArgument[] = "@null";

} // namespace host
