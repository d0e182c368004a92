// A small, strict reader of vCard 3.0 and 4.0 files: content lines unfolded, split into name,
// parameters and value, grouped into cards. Values keep their escapes until a caller asks for
// them as text, so structured values can still be split at their separators.
#pragma once

#include "content_lines.h"

#include <map>
#include <string>
#include <vector>

namespace korvo_import {

// One property of a card.
struct VCardProperty {
    std::string name;                                       // upper case, group dropped
    std::map<std::string, std::vector<std::string>> params; // upper-case name to its values
    std::string value;                                      // as written, escapes kept
    int line = 0;                                           // where it begins in the file
};

// One card, between BEGIN:VCARD and END:VCARD.
struct VCard {
    int line = 0;                          // the BEGIN:VCARD line
    std::string version;                   // "3.0" or "4.0"
    std::vector<VCardProperty> properties; // in file order, BEGIN, END and VERSION left out

    // The first property named name (upper case), or null.
    const VCardProperty* First(const std::string& name) const;
};

// Reads every card of file. Throws ImportError naming the file, the line and the property for
// a line that is not name, parameters and value, a parameter without a value, an unterminated
// quote, text outside a card, a card without END:VCARD, a card of another version, and one
// without an FN or with an empty one.
std::vector<VCard> ReadVCards(const std::string& file);

// The property's value as text, escapes resolved (\\ \, \; \n). Throws ImportError for any
// other escape.
std::string VCardText(const std::string& file, const VCardProperty& property);

// A structured value (N, ADR, ORG) split at its unescaped ";", each component as text.
std::vector<std::string> VCardComponents(const std::string& file, const VCardProperty& property);

// Whether one of the property's TYPE values is type (compared ignoring case).
bool HasType(const VCardProperty& property, const std::string& type);

// Whether the property is marked preferred (TYPE=pref in 3.0, PREF=1 in 4.0).
bool IsPreferred(const VCardProperty& property);

} // namespace korvo_import
