#include "script_runner.h"

#include "command_table.h"
#include "json_writer.h"
#include "script_words.h"

#include <cstdio>
#include <vector>

namespace host {

void WriteAnswer(const std::string& answer) {
    std::fwrite(answer.data(), 1, answer.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void RunScript(std::istream& in, LibrarySession& session) {
    static constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
    std::string line;
    std::vector<std::string> words;
    std::string error;
    for (size_t number = 1; std::getline(in, line); ++number) {
        if (number == 1 && line.compare(0, 3, kByteOrderMark) == 0)
            line.erase(0, 3);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!SplitScriptLine(line, &words, &error)) {
            WriteAnswer(JsonObject()
                            .AddString("op", "")
                            .AddString("error", "line " + std::to_string(number) + ": " + error)
                            .Text());
            continue;
        }
        if (!words.empty())
            WriteAnswer(RunCommand(session, words));
    }
}

} // namespace host
