// Wildcard matching against a list of patterns.
#include "rk/match.h"

#include "case_fold.h"

#include <string>

namespace {

// True when the pattern at pattern (ending at its NUL or at sep) matches all of text.
// A '*' first matches nothing; when the rest fails, it takes one more character of the text
// and the rest is tried again (only the last '*' needs to be retried this way).
template <typename T> bool MatchOne(const T* text, const T* pattern, T sep) {
    const auto ended = [sep](const T* p) { return *p == T() || *p == sep; };
    const T* star = nullptr;   // the last '*' met in the pattern
    const T* resume = nullptr; // where the text goes on when that '*' takes one more character
    while (*text != T()) {
        if (!ended(pattern) && *pattern == T('*')) {
            star = pattern++;
            resume = text;
        } else if (!ended(pattern) && (*pattern == T('?') || *pattern == *text)) {
            ++pattern;
            ++text;
        } else if (star != nullptr) {
            pattern = star + 1;
            text = ++resume;
        } else {
            return false;
        }
    }
    while (!ended(pattern) && *pattern == T('*'))
        ++pattern;
    return ended(pattern);
}

// A folded copy of text; characters equal to keep stay as they are.
template <typename T> std::basic_string<T> Folded(const T* text, T keep) {
    std::basic_string<T> folded(text);
    for (T& c : folded) {
        if (c != keep)
            c = RK::detail::Fold(c);
    }
    return folded;
}

template <typename T> int Match(const T* text, const T* patterns, T sep, bool caseSensitive) {
    std::basic_string<T> foldedText;
    std::basic_string<T> foldedPatterns;
    if (!caseSensitive) {
        foldedText = Folded(text, T());
        foldedPatterns = Folded(patterns, sep);
        text = foldedText.c_str();
        patterns = foldedPatterns.c_str();
    }
    for (const T* pattern = patterns;;) {
        if (MatchOne(text, pattern, sep))
            return 1;
        while (*pattern != T() && *pattern != sep)
            ++pattern;
        if (*pattern == T())
            return 0;
        ++pattern;
    }
}

} // namespace

int rk_astr_match(const char* text, const char* patterns, char sep, bool caseSensitive) {
    return Match(text, patterns, sep, caseSensitive);
}

int rk_wstr_match(const WCHAR* text, const WCHAR* patterns, WCHAR sep, bool caseSensitive) {
    return Match(text, patterns, sep, caseSensitive);
}
