#include "trace_format.h"

#include <cstdio>

namespace host {

std::string FormatTraceMessage(const char* format, va_list args) {
    if (format == nullptr)
        return {};
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length <= 0)
        return {};
    std::string message(static_cast<size_t>(length), '\0');
    std::vsnprintf(message.data(), message.size() + 1, format, args);
    return message;
}

std::string TraceLine(int level, const char* sourceFile, int line, const char* functionName,
                      const std::string& message) {
    std::string text = "L" + std::to_string(level) + "\t" + (sourceFile ? sourceFile : "") + ":" +
                       std::to_string(line) + "\t" + (functionName ? functionName : "") + "\t";
    for (const char c : message) {
        if (c == '\n')
            text += "\\n";
        else if (c == '\r')
            text += "\\r";
        else
            text += c;
    }
    return text;
}

} // namespace host
