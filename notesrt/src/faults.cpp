// The fault plan, from $NOTESRT_FAULTS or NotesrtSetFaults.
#include "faults.h"

#include <cstdlib>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace notesrt {
namespace {

// One planned failure.
struct FaultRule {
    std::string call;    // the call's name; "*" for any call
    uint32_t nth = 0;    // the number of the call that fails, from 1
    bool onward = false; // the later calls fail too
    STATUS status = 0;   // what the failing calls return
};

// The plan and the call counts.
struct FaultState {
    std::mutex mutex;                      // guards the members below
    bool loaded = false;                   // the plan has been set (from the environment or a call)
    std::vector<FaultRule> rules;          // in the order given; the first match wins
    std::map<std::string, uint32_t> calls; // calls so far, by name
    uint32_t allCalls = 0;                 // calls so far of any name
    std::string failed;                    // the calls the plan failed, comma-separated
};

FaultState& TheFaults() {
    static FaultState state;
    return state;
}

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// Reads a whole unsigned number, decimal or 0x-hexadecimal, no larger than limit.
bool ParseNumber(const std::string& text, unsigned long limit, unsigned long& value) {
    if (text.empty() || text[0] == '-' || text[0] == '+')
        return false;
    char* end = nullptr;
    value = std::strtoul(text.c_str(), &end, 0);
    return end != nullptr && *end == '\0' && value <= limit;
}

// Reads CALL@N=STATUS or CALL@N+=STATUS.
bool ParseRule(const std::string& entry, FaultRule& rule) {
    const size_t at = entry.find('@');
    const size_t equals = entry.find('=');
    if (at == std::string::npos || equals == std::string::npos || equals < at)
        return false;
    rule.call = Trim(entry.substr(0, at));
    std::string count = Trim(entry.substr(at + 1, equals - at - 1));
    if (!count.empty() && count.back() == '+') {
        rule.onward = true;
        count.pop_back();
    }
    unsigned long nth = 0;
    unsigned long status = 0;
    if (rule.call.empty() || !ParseNumber(count, 0xFFFFFFFFul, nth) || nth == 0 ||
        !ParseNumber(Trim(entry.substr(equals + 1)), 0xFFFFul, status) || status == 0)
        return false;
    rule.nth = static_cast<uint32_t>(nth);
    rule.status = static_cast<STATUS>(status);
    return true;
}

int LoadPlan(FaultState& state, const char* text) {
    state.rules.clear();
    state.calls.clear();
    state.allCalls = 0;
    state.failed.clear();
    state.loaded = true;
    int invalid = 0;
    const std::string plan = text == nullptr ? std::string() : std::string(text);
    size_t start = 0;
    while (start <= plan.size()) {
        size_t comma = plan.find(',', start);
        if (comma == std::string::npos)
            comma = plan.size();
        const std::string entry = Trim(plan.substr(start, comma - start));
        FaultRule rule;
        if (!entry.empty()) {
            if (ParseRule(entry, rule))
                state.rules.push_back(rule);
            else
                ++invalid;
        }
        start = comma + 1;
    }
    return invalid;
}

bool Matches(const FaultRule& rule, uint32_t count) {
    return rule.onward ? count >= rule.nth : count == rule.nth;
}

} // namespace

void ResetFaults() {
    FaultState& state = TheFaults();
    std::lock_guard<std::mutex> lock(state.mutex);
    LoadPlan(state, nullptr);
    state.loaded = false;
}

STATUS CheckFault(const char* call) {
    FaultState& state = TheFaults();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (!state.loaded)
        LoadPlan(state, std::getenv("NOTESRT_FAULTS"));
    const uint32_t count = ++state.calls[call];
    const uint32_t all = ++state.allCalls;
    for (const FaultRule& rule : state.rules) {
        if (rule.call == "*" ? Matches(rule, all) : rule.call == call && Matches(rule, count)) {
            state.failed += state.failed.empty() ? "" : ",";
            state.failed += call;
            return rule.status;
        }
    }
    return 0;
}

bool StepRefused(const char* step) {
    FaultState& state = TheFaults();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (!state.loaded)
        LoadPlan(state, std::getenv("NOTESRT_FAULTS"));
    const uint32_t count = ++state.calls[step];
    for (const FaultRule& rule : state.rules) {
        if (rule.call == step && Matches(rule, count)) {
            state.failed += state.failed.empty() ? "" : ",";
            state.failed += step;
            return true;
        }
    }
    return false;
}

int SetFaultPlan(const char* text) {
    FaultState& state = TheFaults();
    std::lock_guard<std::mutex> lock(state.mutex);
    return LoadPlan(state, text);
}

uint32_t FaultCallCount() {
    FaultState& state = TheFaults();
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.allCalls;
}

std::string FailedCalls() {
    FaultState& state = TheFaults();
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.failed;
}

} // namespace notesrt
