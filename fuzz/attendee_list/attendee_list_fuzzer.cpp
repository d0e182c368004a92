// Reading an attendee list from an appointment's note: the first byte picks the list (its
// value modulo 3: required, optional, for information), the other bytes are that item's text
// in a note of a mail file on disk, read by GetAttendeeNameFromList with a started runtime
// and no address book. Every name between semicolons (those that begin an LMBCS character,
// not bytes inside one) that is neither empty nor 256 characters or longer (after the runtime's
// 61439-byte cut and with NUL bytes dropped) gives one attendee, in order, from the right list,
// keyed as GetStringKeyOfNotesDisplayName keys it, named and addressed by the first name of the
// list with that key (the day's name cache answers the later ones). The note, the database and
// every memory block are closed afterwards.
#include "notescontact.h"
#include "notesitems.h"
#include "notesmailcalendar.h"
#include "notesrt_testing.h"
#include "scratch_folder.h"
#include "stringutil.h"

#include "rk/convert.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr size_t kNameLimit = 256; // a name must be shorter than this
constexpr size_t kKeyBuffer = 256; // bytes of a key buffer
constexpr NOTEID kNoteId = 4;      // the ID of a database's first note
const char* const kListItems[] = {"RequiredAttendees", "OptionalAttendees", "FYIAttendees"};

// bytes in base64, as database files carry exact LMBCS text.
std::string Base64(const std::string& bytes) {
    static const char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        uint32_t group = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size())
            group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size())
            group |= static_cast<unsigned char>(bytes[i + 2]);
        out += kDigits[group >> 18 & 63];
        out += kDigits[group >> 12 & 63];
        out += i + 1 < bytes.size() ? kDigits[group >> 6 & 63] : '=';
        out += i + 2 < bytes.size() ? kDigits[group & 63] : '=';
    }
    return out;
}

// A Notes installation (notes.ini, an ID file, a mail file) for the whole run.
class Installation {
  public:
    Installation() : m_folder("attendees") {
        m_folder.Write("notes.ini", "Directory=data\nKeyFileName=user.id\n");
        m_folder.Write("data/user.id", "CN=Ann Lee/O=Acme\n");
    }

    // Writes the mail file: one note with item (when given) holding text, exact bytes.
    void WriteMailFile(const char* item, const std::string& text) const {
        std::string file =
            R"({"replicaId": "C1257E2B0036A1F2", "dbId": "0000ABCD00001234", "notes": [)";
        if (item != nullptr)
            file += R"({"items": [[")" + std::string(item) + R"(", {"lmbcs": ")" + Base64(text) +
                    R"("}]]})";
        else
            file += R"({"items": [["Form", "Appointment"]]})";
        m_folder.Write("data/mail.nsf", file + "]}");
    }

    // Starts the runtime afresh on this installation.
    void Start() const {
        if (m_folder.StartRuntime() != NOERROR)
            std::abort();
    }

  private:
    korvo_fuzz::ScratchFolder m_folder; // notes.ini, data/user.id, data/mail.nsf
};

// The attendees the text should give, as described at the top.
std::vector<AttendeeInfo> Expected(std::string text, int32_t list) {
    text.resize(std::min(text.size(), kBodyBufferSize - 1));
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    std::vector<AttendeeInfo> expected;
    std::map<std::string, std::string> firstNames; // key -> the first name with it
    for (size_t start = 0; start < text.size();) {
        const size_t end = StringUtil::FindInLmbcs(text.data(), text.size(), start, ";");
        if (end > start && end - start < kNameLimit) {
            const std::string name = text.substr(start, end - start);
            char key[kKeyBuffer];
            GetStringKeyOfNotesDisplayName(name.c_str(), key);
            const std::string& first = firstNames.emplace(key, name).first->second;
            AttendeeInfo attendee;
            attendee.key = StringUtil::WidenAnsi(key);
            attendee.name = StringUtil::WidenAnsi(first.c_str());
            attendee.email = attendee.name;
            attendee.recipType = list;
            attendee.attendType = 1;
            expected.push_back(attendee);
        }
        start = end + 1;
    }
    return expected;
}

// Whether the attendee read (a) is the one expected (b); a's unused fields must be empty.
bool Same(const AttendeeInfo& a, const AttendeeInfo& b) {
    return a.key == b.key && a.name == b.name && a.email == b.email && a.extra1.empty() &&
           a.extra2.empty() && a.extra3.empty() && a.recipType == b.recipType &&
           a.attendType == b.attendType && a.responseType == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const Installation installation;
    const int32_t list = size != 0 ? data[0] % 3 : 0;
    const std::string text =
        size != 0 ? std::string(reinterpret_cast<const char*>(data) + 1, size - 1) : std::string();
    installation.WriteMailFile(size != 0 ? kListItems[list] : nullptr, text);
    installation.Start();

    std::vector<AttendeeInfo> attendees;
    {
        CNotesCalendar calendar;
        if (!calendar.AllocateTextBuffer())
            std::abort();
        DBHANDLE db = NULLHANDLE;
        NOTEHANDLE note = NULLHANDLE;
        if (NSFDbOpen("mail.nsf", &db) != NOERROR ||
            NSFNoteOpenExt(db, kNoteId, 0, &note) != NOERROR)
            std::abort();
        calendar.GetAttendeeNameFromList(note, list, attendees);
        if (NSFNoteClose(note) != NOERROR || NSFDbClose(db) != NOERROR)
            std::abort();
        CNotesContacts::DestroyInstance();
    }

    const std::vector<AttendeeInfo> expected = Expected(text, list);
    if (!std::equal(attendees.begin(), attendees.end(), expected.begin(), expected.end(), Same))
        std::abort();

    NotesrtCounts counts{};
    NotesrtGetCounts(&counts);
    if (counts.databases != 0 || counts.notes != 0 || counts.memoryAllocated != 0)
        std::abort();
    NotesrtReset();
    return 0;
}
