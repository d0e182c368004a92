// ASCII case folding.
#include "asciicase.h"

namespace notesrt {
namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::string LowerAscii(std::string text) {
    for (char& c : text)
        c = Lower(c);
    return text;
}

bool EqualsIgnoringCase(std::string_view first, std::string_view second) {
    if (first.size() != second.size())
        return false;
    for (size_t i = 0; i < first.size(); ++i) {
        if (Lower(first[i]) != Lower(second[i]))
            return false;
    }
    return true;
}

} // namespace notesrt
