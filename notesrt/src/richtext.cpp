// Item values converted to text: ConvertItemToText.
#include "itemvalue.h"
#include "lmbcs.h"
#include "memory.h"

#include <algorithm>
#include <cstring>

using namespace notesrt;

namespace {

// The start of each character of text, and text.size() at the end.
std::vector<size_t> CharacterStarts(std::string_view text) {
    std::vector<size_t> starts;
    for (size_t position = 0; position < text.size(); position = NextLmbcsCharacter(text, position))
        starts.push_back(position);
    starts.push_back(text.size());
    return starts;
}

// Appends paragraph to out in lines of at most charsPerLine characters (0: no limit), each
// broken at its last blank before the limit (the blank dropped) or else at the limit.
void AppendWrapped(const std::string& paragraph, const std::string& delimiter, size_t charsPerLine,
                   std::string& out) {
    const std::vector<size_t> starts = CharacterStarts(paragraph);
    const size_t characters = starts.size() - 1;
    size_t first = 0;
    while (charsPerLine != 0 && characters - first > charsPerLine) {
        size_t cut = first + charsPerLine;
        size_t next = cut;
        for (size_t i = first + charsPerLine; i > first; --i) {
            if (paragraph[starts[i]] == ' ') {
                cut = i;
                next = i + 1;
                break;
            }
        }
        out.append(paragraph, starts[first], starts[cut] - starts[first]);
        out += delimiter;
        first = next;
    }
    out.append(paragraph, starts[first], std::string::npos);
}

// The text of a value (data type first); false for a type without a text form.
bool ValueText(std::string_view value, const std::string& delimiter, size_t charsPerLine,
               bool stripTabs, std::string& text) {
    uint16_t type;
    if (value.size() < sizeof type)
        return false;
    std::memcpy(&type, value.data(), sizeof type);
    const std::string_view body = value.substr(sizeof type);
    std::vector<std::string> paragraphs;
    if (type == TYPE_TEXT)
        paragraphs.emplace_back(body);
    else if (type != TYPE_COMPOSITE || !ReadParagraphs(body, paragraphs))
        return false;
    text.clear();
    for (size_t i = 0; i < paragraphs.size(); ++i) {
        std::string& paragraph = paragraphs[i];
        if (stripTabs)
            paragraph.erase(std::remove(paragraph.begin(), paragraph.end(), '\t'), paragraph.end());
        if (i != 0)
            text += delimiter;
        if (type == TYPE_TEXT)
            text += paragraph;
        else
            AppendWrapped(paragraph, delimiter, charsPerLine, text);
    }
    return true;
}

} // namespace

extern "C" NOTESRT_API STATUS LNPUBLIC ConvertItemToText(BLOCKID value, uint32_t valueLength,
                                                         const char* lineDelimiter,
                                                         uint16_t charsPerLine, DHANDLE* text,
                                                         uint32_t* textLength, int stripTabs) {
    return RunCall("ConvertItemToText", true, [&](Runtime& runtime) -> STATUS {
        const MemoryBlock* block = runtime.memory.Find(value.pool);
        if (block == nullptr)
            return kErrInvalidHandle;
        if (text == nullptr || textLength == nullptr ||
            value.block + uint64_t{valueLength} > block->bytes.size())
            return kErrInvalidArgument;
        std::string converted;
        if (!ValueText(std::string_view(block->bytes.data() + value.block, valueLength),
                       lineDelimiter != nullptr ? lineDelimiter : "", charsPerLine, stripTabs != 0,
                       converted))
            return kErrCannotConvert;
        DHANDLE handle;
        if (STATUS status = NewBlock(runtime, converted, &handle))
            return status;
        *text = handle;
        *textLength = static_cast<uint32_t>(converted.size());
        return 0;
    });
}
