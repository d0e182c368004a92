#include "platform/dialog.h"

#include "text.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

namespace platform {
namespace {

// Where the answers of $KORVO_MESSAGEBOX have got to in this process.
struct AnswerQueue {
    std::string list; // the value the position refers to
    size_t position;  // offset of the next answer in list
};

std::mutex g_lock;
MessageBoxHook g_hook = nullptr; // the test's hook; guarded by g_lock
void* g_hookContext = nullptr;   // handed to the hook; guarded by g_lock
AnswerQueue g_answers{};         // guarded by g_lock

// The button an answer names; anything but "retry" (any case, blanks around it) is Cancel.
int ButtonFor(std::string answer) {
    const size_t first = answer.find_first_not_of(" \t");
    const size_t last = answer.find_last_not_of(" \t");
    answer = first == std::string::npos ? std::string() : answer.substr(first, last - first + 1);
    for (char& c : answer)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return answer == "retry" ? kIdRetry : kIdCancel;
}

// Takes the next answer from $KORVO_MESSAGEBOX, starting over when its value has changed.
// Call with g_lock held.
int NextAnswer() {
    const char* value = std::getenv("KORVO_MESSAGEBOX");
    const std::string list = value != nullptr ? value : "";
    if (list != g_answers.list)
        g_answers = AnswerQueue{list, 0};
    if (g_answers.position > list.size())
        return kIdCancel;
    const size_t comma = list.find(',', g_answers.position);
    const size_t end = comma == std::string::npos ? list.size() : comma;
    const std::string answer = list.substr(g_answers.position, end - g_answers.position);
    g_answers.position = end + 1;
    return ButtonFor(answer);
}

} // namespace

int MessageBoxW(const WCHAR* text, const WCHAR* caption, unsigned style) {
    std::unique_lock<std::mutex> guard(g_lock);
    if (g_hook != nullptr) {
        const MessageBoxHook hook = g_hook;
        void* context = g_hookContext;
        guard.unlock();
        return hook(text, caption, style, context);
    }
    const int button = NextAnswer();
    std::fprintf(stderr, "[%s] %s -> %s\n", detail::WideToUtf8(caption).c_str(),
                 detail::WideToUtf8(text).c_str(), button == kIdRetry ? "Retry" : "Cancel");
    return button;
}

void SetMessageBoxHookForTesting(MessageBoxHook hook, void* context) {
    std::lock_guard<std::mutex> guard(g_lock);
    g_hook = hook;
    g_hookContext = context;
}

} // namespace platform
