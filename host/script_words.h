// Splitting a script line into words, the way a POSIX shell splits a simple command.
#pragma once

#include <string>
#include <vector>

namespace host {

// Splits line into words. Blanks (space, tab) separate words; a '#' that begins a word starts
// a comment to the end of the line. Single quotes keep everything up to the next single quote
// as it is. Inside double quotes, \n, \r, \t, \\ and \" stand for their characters and any
// other backslash stays as written. Outside quotes a backslash keeps the next character as
// it is. Quoted and unquoted pieces next to each other make one word; "" is an empty word.
// Returns false with *error set (and *words unspecified) for an unterminated quote or a
// line ending in a lone backslash.
bool SplitScriptLine(const std::string& line, std::vector<std::string>* words, std::string* error);

} // namespace host
