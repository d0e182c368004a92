#include "stringutil.h"

#include "trace.h"

#include "platform/codepage.h"
#include "rk/convert.h"

#include <cstring>
#include <iterator>
#include <utility>

static constexpr char kTraceSource[] = "stringutil.cpp";

namespace {

// Logs the rejection of a null output buffer (or one without room) of GetSubString.
unsigned RejectBuffer() {
    KORVO_TRACE(PM_SDK::kLevelRejected, "StringUtil::GetSubString", "Invalid Buffer!!");
    return 0;
}

// Logs the rejection of a null input of GetSubString.
unsigned RejectParameter() {
    KORVO_TRACE(PM_SDK::kLevelRejected, "StringUtil::GetSubString", "Invalid parameter!!");
    return 0;
}

// Logs the rejection of a null string of GetStringIndex.
unsigned RejectSource() {
    KORVO_TRACE(PM_SDK::kLevelFailure, "StringUtil::GetStringIndex", "Source string is NULL!!");
    return 0;
}

constexpr unsigned char kGroupDoubleByte = 0x10; // first group with double-byte characters
constexpr unsigned char kGroupUnicode = 0x14;    // a UTF-16 unit follows, high byte first
constexpr unsigned char kZeroLowByte = 0xF6;     // escape: the unit's high byte follows, low is 0
constexpr unsigned char kDoubleByteLead = 0x80;  // lead bytes of double-byte characters from here

// Whether byte stands for itself in LMBCS rather than starting a group.
bool IsSingleByte(unsigned char byte) {
    return byte > kGroupUnicode || byte == 0x00 || byte == '\t' || byte == '\n' || byte == '\r';
}

// The UTF-16 unit of the 0x14 group at position, which must have its two bytes within length.
unsigned UnicodeUnit(const char* text, size_t position) {
    const auto high = static_cast<unsigned char>(text[position + 1]);
    const auto low = static_cast<unsigned char>(text[position + 2]);
    return high == kZeroLowByte ? static_cast<unsigned>(low) << 8
                                : static_cast<unsigned>(high) << 8 | low;
}

// Index past the 0x14 group at position: a high surrogate takes a following low surrogate
// group along.
size_t UnicodeCharacterEnd(const char* text, size_t length, size_t position) {
    if (length - position < 3)
        return length;
    const unsigned unit = UnicodeUnit(text, position);
    const size_t end = position + 3;
    if (unit < 0xD800 || unit > 0xDBFF || length - end < 3 ||
        static_cast<unsigned char>(text[end]) != kGroupUnicode)
        return end;
    const unsigned next = UnicodeUnit(text, end);
    return next >= 0xDC00 && next <= 0xDFFF ? end + 3 : end;
}

// Marks a piece that reached maxLen: its last character gives way to the terminator.
unsigned CutAtLimit(char* out, unsigned maxLen) {
    out[maxLen - 1] = '\0';
    return maxLen;
}

} // namespace

namespace StringUtil {

unsigned GetStringIndex(const char* str, char ch) {
    if (str == nullptr)
        return RejectSource();
    const unsigned length = static_cast<unsigned>(std::strlen(str));
    unsigned i = 0;
    while (i < length && str[i] != ch)
        ++i;
    return i;
}

unsigned GetStringIndex(const char* str, const char* pos) {
    if (str == nullptr)
        return RejectSource();
    const unsigned length = static_cast<unsigned>(std::strlen(str));
    unsigned i = 0;
    while (i < length && str + i != pos)
        ++i;
    return i;
}

unsigned GetSubString(const char* begin, const char* end, unsigned maxLen, char* out) {
    if (begin == nullptr || end == nullptr)
        return RejectParameter();
    if (out == nullptr || maxLen == 0)
        return RejectBuffer();
    for (unsigned i = 0; i < maxLen; ++i) {
        if (begin + i == end) {
            out[i] = '\0';
            return i;
        }
        out[i] = begin[i];
    }
    return CutAtLimit(out, maxLen);
}

unsigned GetSubString(const char* str, char delim, unsigned maxLen, char* out) {
    if (str == nullptr)
        return RejectParameter();
    if (out == nullptr || maxLen == 0)
        return RejectBuffer();
    const unsigned length = static_cast<unsigned>(std::strlen(str));
    for (unsigned i = 0; i < length; ++i) {
        if (i == maxLen)
            return CutAtLimit(out, maxLen);
        if (str[i] == delim) {
            out[i] = '\0';
            return i;
        }
        out[i] = str[i];
    }
    if (length == maxLen)
        return CutAtLimit(out, maxLen);
    out[length] = '\0';
    return length;
}

size_t NextLmbcsCharacter(const char* text, size_t length, size_t position) {
    const auto lead = static_cast<unsigned char>(text[position]);
    if (IsSingleByte(lead))
        return position + 1;
    if (lead == kGroupUnicode)
        return UnicodeCharacterEnd(text, length, position);
    size_t bytes = 2;
    if (lead >= kGroupDoubleByte && length - position > 1 &&
        static_cast<unsigned char>(text[position + 1]) >= kDoubleByteLead)
        bytes = 3;
    return length - position < bytes ? length : position + bytes;
}

size_t FindInLmbcs(const char* text, size_t length, size_t from, const char* word) {
    if (text == nullptr || word == nullptr || word[0] == '\0')
        return length;
    const size_t wordLength = std::strlen(word);
    for (size_t i = from; i < length; i = NextLmbcsCharacter(text, length, i))
        if (length - i >= wordLength && std::memcmp(text + i, word, wordLength) == 0)
            return i;
    return length;
}

bool IsSameString(const char* a, const char* b) {
    if (a == nullptr || b == nullptr)
        return false;
    const size_t length = std::strlen(a);
    return length == std::strlen(b) && std::memcmp(a, b, length) == 0;
}

void Utf8ToWide(const char* text, CString& out) {
    if (text == nullptr)
        return;
    const unsigned length = static_cast<unsigned>(std::strlen(text));
    CString wide(static_cast<size_t>(length) + 1, WCHAR());
    wide.resize(rk_str_convert(static_cast<int>(platform::kCodePageUtf8), wide.data(), length, text,
                               length));
    out = std::move(wide);
}

CString FormatSystemTime(const SYSTEMTIME& t) {
    CString text;
    text.reserve(19);
    AppendPadded(text, t.wMonth, 2);
    text.push_back(KORVO_W('/'));
    AppendPadded(text, t.wDay, 2);
    text.push_back(KORVO_W('/'));
    AppendPadded(text, t.wYear, 4);
    text.push_back(KORVO_W(' '));
    AppendPadded(text, t.wHour, 2);
    text.push_back(KORVO_W(':'));
    AppendPadded(text, t.wMinute, 2);
    text.push_back(KORVO_W(':'));
    AppendPadded(text, t.wSecond, 2);
    return text;
}

void AppendPadded(CString& out, int32_t value, int width) {
    WCHAR digits[12];
    WCHAR* first = std::end(digits);
    uint32_t magnitude =
        value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    do {
        *--first = static_cast<WCHAR>(KORVO_W('0') + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    const size_t length = static_cast<size_t>(std::end(digits) - first) + (value < 0 ? 1 : 0);
    if (value < 0)
        out.push_back(KORVO_W('-'));
    if (width > 0 && static_cast<size_t>(width) > length)
        out.append(static_cast<size_t>(width) - length, KORVO_W('0'));
    out.append(first, std::end(digits));
}

CString WidenAnsi(const char* text) {
    CString wide;
    RK::_cstring_set(wide, 0, text, RK::kWholeString);
    return wide;
}

std::string NarrowAnsi(const CString& text) {
    std::string narrow;
    RK::_cstring_set(narrow, 0, text.c_str(), static_cast<unsigned>(text.size()));
    return narrow;
}

} // namespace StringUtil
