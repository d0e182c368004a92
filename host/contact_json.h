// Contacts in the host's JSON output.
#pragma once

#include "KorvoLotusC.h"

#include <string>
#include <vector>

namespace host {

// A JSON array with one object per contact: every string and number member under its own
// name, "unid" (the UNID bytes in upper-case hex), and the photo as "photoSize" and
// "photoSha256" (lower-case hex).
std::string ContactsJson(const std::vector<ContactInfo>& contacts);

} // namespace host
