// Wildcard matching of the toolkit (rk_astr_match, rk_wstr_match) on any text and patterns.
// The first byte is the separator (0 stands for ';'); the rest is the text, a NUL, and the
// pattern list. Checked: a list matches exactly when one of its patterns matches alone; a
// single pattern matches as a plain table-driven matcher says; a text matches itself as a
// pattern; what matches with case counts also matches without; the wide form agrees with the
// narrow one (without case only on ASCII, where both fold alike).
#include "rk/match.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using WideText = std::basic_string<WCHAR>;

// The largest text length times pattern length given to the table-driven matcher.
constexpr size_t kMaxTableCells = 1u << 16;

// Whether pattern matches all of text: '*' any run, '?' any one character.
bool TableMatch(const std::string& text, const std::string& pattern) {
    // row[j]: the text so far matches the first j characters of the pattern.
    std::vector<char> row(pattern.size() + 1, 0);
    row[0] = 1;
    for (size_t j = 0; j < pattern.size() && pattern[j] == '*'; ++j)
        row[j + 1] = 1;
    for (char c : text) {
        std::vector<char> next(pattern.size() + 1, 0);
        for (size_t j = 0; j < pattern.size(); ++j) {
            if (pattern[j] == '*')
                next[j + 1] = next[j] || row[j + 1] || row[j];
            else if (pattern[j] == '?' || pattern[j] == c)
                next[j + 1] = row[j];
        }
        row.swap(next);
    }
    return row[pattern.size()] != 0;
}

std::vector<std::string> Split(const std::string& list, char sep) {
    std::vector<std::string> parts(1);
    for (char c : list) {
        if (c == sep)
            parts.emplace_back();
        else
            parts.back().push_back(c);
    }
    return parts;
}

WideText Widen(const std::string& text) {
    WideText wide;
    for (char c : text)
        wide.push_back(static_cast<WCHAR>(static_cast<unsigned char>(c)));
    return wide;
}

bool IsAscii(const std::string& text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

void Require(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const char sep = data[0] != 0 ? static_cast<char>(data[0]) : ';';
    const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const size_t nul = rest.find('\0');
    const std::string text = rest.substr(0, nul);
    const std::string patterns =
        nul == std::string::npos ? std::string() : std::string(rest.c_str() + nul + 1);

    const int exact = rk_astr_match(text.c_str(), patterns.c_str(), sep, true);
    const int folded = rk_astr_match(text.c_str(), patterns.c_str(), sep, false);
    Require(exact == 0 || exact == 1);
    Require(folded == 0 || folded == 1);

    // Folding may turn a pattern letter into a lower-case separator, which splits the list
    // differently; with any other separator it only makes more characters equal.
    const bool foldKeepsSeparators = !(sep >= 'a' && sep <= 'z');
    bool anyExact = false;
    bool anyFolded = false;
    for (const std::string& pattern : Split(patterns, sep)) {
        const bool alone = rk_astr_match(text.c_str(), pattern.c_str(), sep, true) == 1;
        anyExact = anyExact || alone;
        anyFolded = anyFolded || rk_astr_match(text.c_str(), pattern.c_str(), sep, false) == 1;
        if ((text.size() + 1) * (pattern.size() + 1) <= kMaxTableCells)
            Require(alone == TableMatch(text, pattern));
    }
    Require(exact == (anyExact ? 1 : 0));
    if (foldKeepsSeparators) {
        Require(folded == (anyFolded ? 1 : 0));
        Require(exact <= folded);
    }
    if (text.find(sep) == std::string::npos) {
        Require(rk_astr_match(text.c_str(), text.c_str(), sep, true) == 1);
        Require(!foldKeepsSeparators || rk_astr_match(text.c_str(), text.c_str(), sep, false) == 1);
    }

    const WideText wideText = Widen(text);
    const WideText widePatterns = Widen(patterns);
    const auto wideSep = static_cast<WCHAR>(static_cast<unsigned char>(sep));
    Require(rk_wstr_match(wideText.c_str(), widePatterns.c_str(), wideSep, true) == exact);
    if (IsAscii(text) && IsAscii(patterns) && IsAscii(std::string(1, sep)))
        Require(rk_wstr_match(wideText.c_str(), widePatterns.c_str(), wideSep, false) == folded);
    return 0;
}
