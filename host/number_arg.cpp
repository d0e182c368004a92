#include "number_arg.h"

namespace host {

bool ParseInt32(const std::string& text, int32_t* value) {
    size_t i = text.empty() || (text[0] != '-' && text[0] != '+') ? 0 : 1;
    if (i == text.size())
        return false;
    const bool negative = text[0] == '-';
    int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > int64_t{INT32_MAX} + 1)
            return false;
    }
    const int64_t result = negative ? -magnitude : magnitude;
    if (result > INT32_MAX)
        return false;
    *value = static_cast<int32_t>(result);
    return true;
}

} // namespace host
