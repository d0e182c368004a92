// Text files made of content lines (iCalendar and vCard): read, checked to be UTF-8 and
// unfolded, each logical line remembering the physical line it began on, so that a message can
// name it.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace korvo_import {

// Input the import refuses; its text reads "FILE:LINE: PROPERTY: problem".
struct ImportError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// One unfolded content line.
struct ContentLine {
    std::string text;    // without its line break, continuation lines joined
    int line = 0;        // the physical line it begins on, from 1
    std::string problem; // why its bytes are no text ("not UTF-8 text"); empty when they are
};

// "FILE:LINE: " followed by message.
ImportError ErrorAt(const std::string& file, int line, const std::string& message);

// Reads file (named in messages as given) into its content lines. Lines end in LF, CR LF or
// CR CR LF; a line beginning with a blank or a tab continues the one before it (the blank is
// dropped); empty lines and a leading byte order mark are dropped. A line holding bytes that are
// not UTF-8 or a control character other than a tab is kept with its problem (the first one of
// its physical lines, with the column). Throws ImportError when the file cannot be read or
// begins with a continuation.
std::vector<ContentLine> ReadContentLines(const std::string& file);

// Why text is no UTF-8 text free of control characters ("not UTF-8 text at column 3", "a
// control character (0x07) at column 5"); empty when it is one. Tabs are allowed, and with
// breaks also CR and LF.
std::string TextProblem(const std::string& text, bool breaks);

// The name of a content line: its leading letters, digits and "-", upper-cased.
std::string PropertyName(const std::string& text);

// Where the value of a content line begins: after its first ":" outside double quotes;
// std::string::npos when it has none.
size_t ValueStart(const std::string& text);

// The value of a content line (from ValueStart); empty when it has none.
std::string PropertyValue(const std::string& text);

// text in upper case, and in lower case (ASCII letters only).
std::string Upper(std::string text);
std::string Lower(std::string text);

} // namespace korvo_import
