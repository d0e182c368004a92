// The file that stands in for HKEY_CURRENT_USER on POSIX.
//
// The store is UTF-8 INI text, read anew whenever a key is opened:
//
//   [HKEY_CURRENT_USER\Software\Vendra Systems, Inc.\MeetingIntegration]
//   NotesIniPath=/home/ann/notes/notes.ini
//
//   [HKEY_CURRENT_USER\SOFTWARE\IBM\NOTES\INSTALLER] (64)
//   PROGDIR=/opt/notes
//
// A section is one key; " (64)" or " (32)" after its header shows it only in that registry
// view, without a suffix it is seen in all views. A value line is name=text, the text running
// to the end of the line. Key paths and value names compare without regard to case; when a
// key's sections repeat a name, the last line wins. Blank lines, lines starting with ';' or
// '#', lines without '=', values before the first section and the values of a section whose
// header is malformed are ignored.
#pragma once

#include "utf16.h"

#include "platform/registry.h"

#include <string>
#include <vector>

namespace platform::detail {

// One string value of a key.
struct StoreValue {
    WideString name; // the value's name; empty for the key's default value
    WideString data; // the text
};

// The store file's path: $KORVO_REGISTRY, else $XDG_CONFIG_HOME/korvolotus/registry.ini, else
// $HOME/.config/korvolotus/registry.ini; empty when none of these is set.
std::string RegistryStorePath();

// Reads the key HKEY_CURRENT_USER\subKey as view sees it into *values. kErrorSuccess when the
// key exists (it or a key below it has a section), kErrorFileNotFound when it does not (a
// missing store holds no keys), kErrorAccessDenied when the store cannot be read.
long LoadRegistryKey(const WideString& subKey, RegistryView view, std::vector<StoreValue>* values);

} // namespace platform::detail
