// Warnings, counted by kind.
#include "report.h"

#include "content_lines.h"

namespace korvo_import {
namespace {

// What makes two warnings of one kind: their text without quoted parts and numbers.
std::string KindOf(const std::string& what) {
    std::string kind;
    bool quoted = false;
    for (char c : what) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && (c < '0' || c > '9'))
            kind += c;
    }
    return kind;
}

} // namespace

Report::Report(std::ostream& out, bool strict) : out_(out), strict_(strict) {}

void Report::Warn(const std::string& where, const std::string& what, const std::string& tail) {
    const auto found = index_.emplace(KindOf(what), kinds_.size()).first;
    if (found->second == kinds_.size())
        kinds_.emplace_back();
    Kind& kind = kinds_[found->second];
    if (kind.count++ == 0)
        kind.first = where + ": " + what;
    if (kind.count <= kWarningsShown)
        out_ << "korvo-import: " << where << ": " << what << (tail.empty() ? "" : ", ") << tail
             << "\n";
}

void Report::Problem(const std::string& where, const std::string& what, const std::string& tail) {
    if (strict_)
        throw ImportError(where + ": " + what);
    Warn(where, what, tail);
}

void Report::Finish() {
    for (const Kind& kind : kinds_) {
        if (kind.count > kWarningsShown)
            out_ << "korvo-import: " << kind.count - kWarningsShown << " more warnings like "
                 << kind.first << "\n";
    }
}

} // namespace korvo_import
