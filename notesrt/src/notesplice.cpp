// Putting one note into a database file's text.
#include "notesplice.h"

#include "parseinput.h"

namespace notesrt {
namespace {

// Moves the offsets of layout that lie behind a change ending at end by delta bytes: the
// offsets of characters from end on, and the ends of spans past it (a span that ends where an
// insertion begins stays as it is).
void Shift(FileLayout& layout, uint64_t end, int64_t delta) {
    const auto moved = [&](uint64_t& offset, bool spanEnd) {
        if (spanEnd ? offset > end : offset >= end)
            offset = static_cast<uint64_t>(static_cast<int64_t>(offset) + delta);
    };
    for (TextSpan& span : layout.notes) {
        moved(span.begin, false);
        moved(span.end, true);
    }
    moved(layout.notesList.begin, false);
    moved(layout.notesList.end, true);
    moved(layout.rootEnd, false);
}

// What goes around a note put in: after the note before it, and a list made around it.
constexpr char kAfterNote[] = ",\n    ";
constexpr char kListStart[] = "[\n    ";
constexpr char kListEnd[] = "\n  ]";
constexpr size_t kListStartSize = sizeof kListStart - 1;
constexpr size_t kListEndSize = sizeof kListEnd - 1;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

} // namespace

SplicedText SpliceNote(const std::string& text, FileLayout& layout, size_t position,
                       const std::string& note) {
    // What is replaced (from, length), by what, and where the note starts in it.
    uint64_t from = 0;
    uint64_t length = 0;
    std::string inserted;
    size_t noteAt = 0;
    if (position < layout.notes.size()) {
        from = layout.notes[position].begin;
        length = layout.notes[position].end - from;
        inserted = note;
    } else if (!layout.notes.empty()) {
        from = layout.notes.back().end;
        inserted = kAfterNote + note;
        noteAt = sizeof kAfterNote - 1;
    } else if (layout.notesGiven) {
        from = layout.notesList.begin;
        length = layout.notesList.end - from;
        inserted = kListStart + note + kListEnd;
        noteAt = kListStartSize;
    } else {
        from = layout.rootEnd;
        while (from > 0 && IsBlank(text[from - 1]))
            --from;
        const bool firstMember = text[from - 1] == '{';
        inserted = std::string(firstMember ? "\n  " : ",\n  ") + "\"notes\": " + kListStart;
        noteAt = inserted.size();
        inserted += note + kListEnd + (firstMember ? "\n" : "");
    }
    SplicedText result;
    result.before = std::string_view(text).substr(0, from);
    result.after = std::string_view(text).substr(from + length);

    const int64_t delta = static_cast<int64_t>(inserted.size()) - static_cast<int64_t>(length);
    Shift(layout, from + length, delta);
    const TextSpan span{from + noteAt, from + noteAt + note.size()};
    if (position < layout.notes.size()) {
        layout.notes[position] = span;
    } else {
        if (!layout.notesGiven)
            layout.notesList = TextSpan{span.begin - kListStartSize, span.end + kListEndSize};
        else if (layout.notes.empty())
            layout.notesList = TextSpan{from, from + inserted.size()};
        layout.notes.push_back(span);
    }
    layout.notesGiven = true;
    layout.size = text.size() - length + inserted.size();
    TextHash hash;
    for (const std::string_view piece : {result.before, std::string_view(inserted), result.after})
        hash.Add(piece);
    layout.hash = hash.Value();
    result.inserted = std::move(inserted);
    return result;
}

} // namespace notesrt
