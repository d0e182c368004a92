// iCalendar content lines in LMBCS.
#include "icalendar.h"

#include "lmbcs.h"
#include "timedate.h"

#include <cstdio>
#include <cstdlib>

namespace notesrt {
namespace {

constexpr size_t kLineOctets = 75; // octets of a line before its CR LF

// text cut to the last whole character within kMaxValueOctets.
std::string_view CutValue(std::string_view text) {
    size_t end = 0;
    while (end < text.size()) {
        const size_t next = NextLmbcsCharacter(text, end);
        if (next > kMaxValueOctets)
            break;
        end = next;
    }
    return text.substr(0, end);
}

} // namespace

std::string FoldedLine(std::string_view line) {
    std::string folded;
    size_t lineOctets = 0;
    size_t position = 0;
    while (position < line.size()) {
        // Printable ASCII, one octet a character, goes in runs that fit the line.
        size_t end = position;
        while (end < line.size() && end - position < kLineOctets - lineOctets &&
               static_cast<unsigned char>(line[end]) >= 0x20 &&
               static_cast<unsigned char>(line[end]) < 0x80)
            ++end;
        if (end > position) {
            folded.append(line.substr(position, end - position));
            lineOctets += end - position;
            position = end;
            continue;
        }
        const size_t next = NextLmbcsCharacter(line, position);
        if (lineOctets + (next - position) > kLineOctets) {
            folded += "\r\n ";
            lineOctets = 1;
        }
        folded.append(line.substr(position, next - position));
        lineOctets += next - position;
        position = next;
    }
    return folded + "\r\n";
}

std::string EscapedText(std::string_view text) {
    const std::string_view cut = CutValue(text);
    std::string escaped;
    size_t position = 0;
    while (position < cut.size()) {
        const size_t next = NextLmbcsCharacter(cut, position);
        const char c = cut[position];
        if (next - position > 1)
            escaped.append(cut.substr(position, next - position));
        else if (c == '\\' || c == ';' || c == ',')
            escaped.append({'\\', c});
        else if (c == '\n')
            escaped += "\\n";
        else if (c != '\r')
            escaped += c;
        position = next;
    }
    return escaped;
}

std::string PlainValue(std::string_view text) {
    const std::string_view cut = CutValue(text);
    std::string plain;
    size_t position = 0;
    while (position < cut.size()) {
        const size_t next = NextLmbcsCharacter(cut, position);
        if (next - position > 1 || (cut[position] != '\r' && cut[position] != '\n'))
            plain.append(cut.substr(position, next - position));
        position = next;
    }
    return plain;
}

std::string DateTimeText(int64_t seconds) {
    const CivilTime civil = CivilOfSeconds(seconds);
    std::string text;
    text.reserve(15);
    AppendPadded(text, civil.year, 4);
    AppendPadded(text, civil.month, 2);
    AppendPadded(text, civil.day, 2);
    text.push_back('T');
    AppendPadded(text, civil.hour, 2);
    AppendPadded(text, civil.minute, 2);
    AppendPadded(text, civil.second, 2);
    return text;
}

std::string OffsetText(int32_t seconds) {
    const int32_t magnitude = std::abs(seconds);
    char text[16];
    if (magnitude % 60 != 0)
        std::snprintf(text, sizeof text, "%c%02d%02d%02d", seconds < 0 ? '-' : '+',
                      magnitude / 3600, magnitude / 60 % 60, magnitude % 60);
    else
        std::snprintf(text, sizeof text, "%c%02d%02d", seconds < 0 ? '-' : '+', magnitude / 3600,
                      magnitude / 60 % 60);
    return text;
}

} // namespace notesrt
