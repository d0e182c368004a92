// What the import tells about its input. Problems it works around are refused instead in strict
// mode; warnings of one kind after the first few are counted and summed up in one line.
#pragma once

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace korvo_import {

class Report {
  public:
    // Writes to out; strict: Problem throws instead of warning.
    Report(std::ostream& out, bool strict);

    // A notice about the input that is no fault of it (an event outside the window):
    // "korvo-import: WHERE: WHAT, TAIL" (", TAIL" only when tail is not empty). where is
    // "FILE:LINE".
    void Warn(const std::string& where, const std::string& what, const std::string& tail);

    // Input the import works around (a wrong value in one event, an X-LIC-ERROR line): a
    // warning as above, or, in strict mode, ImportError "WHERE: WHAT".
    void Problem(const std::string& where, const std::string& what, const std::string& tail);

    // Whether problems refuse the input.
    bool Strict() const { return strict_; }

    // One line for each kind of which warnings were held back: "korvo-import: N more warnings
    // like WHERE: WHAT" naming the first of that kind.
    void Finish();

  private:
    // The warnings of one kind.
    struct Kind {
        std::string first; // "WHERE: WHAT" of the first
        size_t count = 0;  // how many came
    };

    std::ostream& out_;                   // where warnings go
    bool strict_;                         // problems refuse the input
    std::vector<Kind> kinds_;             // in the order of their first warning
    std::map<std::string, size_t> index_; // kinds_ by WHAT without quoted texts and numbers
};

// The warnings of one kind written in full before the rest are only counted.
constexpr size_t kWarningsShown = 3;

} // namespace korvo_import
