// A reader of vCard 2.1, 3.0 and 4.0 files as programs write them: content lines unfolded (and
// quoted-printable soft line breaks joined), split into name, parameters and value, grouped into
// cards. Values are decoded from quoted-printable and from their CHARSET into UTF-8, and keep
// their escapes until a caller asks for them as text, so structured values can still be split
// at their separators.
#pragma once

#include "content_lines.h"

#include <map>
#include <string>
#include <vector>

namespace korvo_import {

// A fault in one card: where and what.
struct CardProblem {
    int line = 0;       // the line to name; 0: none
    std::string reason; // "PROPERTY: problem"
};

// One property of a card.
struct VCardProperty {
    std::string name;                                       // upper case, group dropped
    std::map<std::string, std::vector<std::string>> params; // upper-case name to its values
    std::string value;                                      // UTF-8, escapes kept
    int line = 0;                                           // where it begins in the file
    CardProblem fault; // why the value could not be decoded; raised when it is used
};

// One card, between BEGIN:VCARD and END:VCARD.
struct VCard {
    int line = 0;                          // the BEGIN:VCARD line
    std::string version;                   // "2.1", "3.0" or "4.0"
    std::vector<VCardProperty> properties; // in file order, BEGIN, END and VERSION left out
    CardProblem problem;                   // the first fault found in it; line 0: none

    // The first property named name (upper case), or null.
    const VCardProperty* First(const std::string& name) const;
};

// Reads every card of file. A parameter without "=" is a value of ENCODING (BASE64, B,
// QUOTED-PRINTABLE, 8BIT, 7BIT) or else of TYPE, as vCard 2.1 writes them. A card keeps its
// first fault (a line that is not name, parameters and value, a parameter without a name or
// with an unterminated quote, another version, no FN or an empty one, a BEGIN:VCARD before its
// END:VCARD); a property keeps the fault of a value that is not UTF-8 or not of its CHARSET.
// Throws ImportError naming the file and the line for text outside a card and a last card
// without END:VCARD.
std::vector<VCard> ReadVCards(const std::string& file);

// The property's value as text, escapes resolved (\\ \, \; \: \n). Throws CardProblem for any
// other escape, and the property's fault.
std::string VCardText(const VCardProperty& property);

// A structured value (N, ADR, ORG) split at its unescaped ";", each component as text.
std::vector<std::string> VCardComponents(const VCardProperty& property);

// Whether one of the property's TYPE values is type (compared ignoring case).
bool HasType(const VCardProperty& property, const std::string& type);

// Whether the property is marked preferred (TYPE=pref in 2.1 and 3.0, PREF=1 in 4.0).
bool IsPreferred(const VCardProperty& property);

// The property's ENCODING in upper case; empty when it has none.
std::string EncodingOf(const VCardProperty& property);

} // namespace korvo_import
