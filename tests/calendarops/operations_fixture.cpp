#include "operations_fixture.h"

#include "date_arg.h"
#include "notesrt_testing.h"
#include "trace_recorder.h"

#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/oleauto.h"

#include <sstream>

namespace korvo_test {
namespace {

const std::string kData = KORVO_CALENDAROPS_DATA;
const std::string kMailFile = "servers/Mail1/mail/ann.nsf";

std::string Utf8(const CString& text) {
    return korvo_test::Utf8(text.data(), text.size());
}

CString Wide(const std::string& ascii) {
    return CString(ascii.begin(), ascii.end());
}

// A BSTR that frees itself.
class Bstr {
  public:
    explicit Bstr(const std::string& ascii)
        : m_text(platform::SysAllocString(Wide(ascii).c_str())) {}
    ~Bstr() { platform::SysFreeString(m_text); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    operator BSTR() const { return m_text; }

  private:
    BSTR m_text; // owned
};

std::string ContactLines(const std::vector<ContactInfo>& contacts) {
    std::string lines;
    for (const ContactInfo& contact : contacts)
        lines += "contact " + Utf8(contact.fullName) + " <" + Utf8(contact.email) + ">\n";
    return lines;
}

} // namespace

std::string Utf8(const WCHAR* text, size_t length) {
    std::string out(4 * length, '\0');
    out.resize(static_cast<size_t>(
        platform::WideCharToMultiByte(platform::kCodePageUtf8, 0, text, static_cast<int>(length),
                                      out.data(), static_cast<int>(out.size()))));
    return out;
}

FILETIME Day(const std::string& text) {
    FILETIME time{};
    std::string error;
    EXPECT_TRUE(host::ParseDateArgument(text + "T12:00:00", &time, &error)) << error;
    return time;
}

std::vector<std::string> SplitText(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    for (std::string part; std::getline(in, part, separator);)
        parts.push_back(part);
    return parts;
}

void OperationsTest::SetUp() {
    NotesrtReset();
    ClearTraceLines();
    m_installation.WriteDataFile("names.nsf", FileBytes(kData + "/names.nsf"));
    m_installation.WriteDataFile("servers/Mail1/names.nsf", FileBytes(kData + "/server_names.nsf"));
    ResetMail();
    m_registry.SetValue("SOFTWARE\\IBM\\NOTES\\INSTALLER", "PROGDIR",
                        PathText(m_installation.Root()));
    m_registry.SetValue("Software\\Vendra Systems, Inc.\\MeetingIntegration", "NotesIniPath",
                        PathText(m_installation.IniPath()));
}

void OperationsTest::TearDown() {
    DllDeleteKorvoLotusClassObject();
    platform::SetLocalTimeForTesting(nullptr);
    NotesrtCounts counts{};
    NotesrtGetCounts(&counts);
    EXPECT_EQ(counts.databases + counts.notes + counts.memoryAllocated, 0u);
    NotesrtReset();
}

void OperationsTest::ResetMail() {
    m_installation.WriteDataFile("servers/Mail1/mail.box", R"({"notes": []})");
    m_mail = nlohmann::json::parse(FileBytes(kData + "/mail.nsf"));
    WriteMail();
}

void OperationsTest::WriteMail() {
    m_installation.WriteDataFile(kMailFile, m_mail.dump());
}

nlohmann::json& OperationsTest::Note(const std::string& noteId) {
    for (auto& note : m_mail["notes"])
        if (note.value("noteId", 0) == std::stoi(noteId))
            return note;
    throw std::runtime_error("no note " + noteId);
}

std::string OperationsTest::RunAll(const std::string& steps, IKorvoLotus* object) {
    std::string transcript;
    for (const std::string& step : SplitText(steps, ';'))
        transcript += Run(step, object);
    return transcript;
}

std::string OperationsTest::Run(const std::string& step, IKorvoLotus* object) {
    const size_t blank = step.find(' ');
    const std::string command = step.substr(0, blank);
    const std::vector<std::string> args = blank == std::string::npos
                                              ? std::vector<std::string>{}
                                              : SplitText(step.substr(blank + 1), '|');
    BSTR out = nullptr;
    int32_t result = 0;
    std::string found;
    if (command == "init") {
        result = object->Init(std::stoi(args[0]));
    } else if (command == "uninit") {
        object->Uninit();
    } else if (command == "list") {
        FILETIME start = Day(args[0]), end = Day(args[1]);
        result = object->ListAppointment(&start, &end, &out);
    } else if (command == "instance") {
        FILETIME start = Day(args[1]), end = Day(args[2]);
        result = object->ListRecrrentInstance(Bstr(args[0]), &start, &end, &out);
    } else if (command == "get") {
        result = object->GetMsgInfo(Bstr(args[0]), 0, &out);
    } else if (command == "delete") {
        result = object->DeleteMsgInfo(Bstr(args[0]), &out);
    } else if (command == "smtp") {
        result = object->GetSMTPFromDispName(Bstr(args[0]), &out);
    } else if (command == "send") {
        result = object->SendMail(Bstr(args[0]), Bstr(args[1]), Bstr(args[2]), 0);
    } else if (command == "resolve") {
        CString query = Wide(args[0]);
        std::vector<ContactInfo> contacts;
        result = object->ResolveContact(query, contacts, false, 0);
        found = ContactLines(contacts);
    } else if (command == "search") {
        std::vector<CString> terms;
        for (const std::string& arg : args)
            terms.push_back(Wide(arg));
        std::vector<ContactInfo> contacts;
        result = object->ResolveContactBySearchQuery(terms, contacts);
        found = ContactLines(contacts);
    } else if (command == "profile") {
        result = object->GetCurProfileInfo(&out);
    } else if (command == "clear") {
        object->ClearCache();
    } else if (command == "clock") {
        SYSTEMTIME now{};
        now.wYear = 2026;
        now.wMonth = static_cast<uint16_t>(std::stoi(args[0].substr(5, 2)));
        now.wDay = static_cast<uint16_t>(std::stoi(args[0].substr(8, 2)));
        now.wHour = static_cast<uint16_t>(std::stoi(args[0].substr(11, 2)));
        now.wMinute = static_cast<uint16_t>(std::stoi(args[0].substr(14, 2)));
        platform::SetLocalTimeForTesting(&now);
        return "";
    } else if (command == "shift") {
        for (const char* item : {"StartDateTime", "EndDateTime"})
            for (auto& pair : Note(args[0])["items"])
                if (pair[0] == item) {
                    std::string time = pair[1]["time"];
                    const int seconds = std::stoi(time.substr(17, 2)) + std::stoi(args[1]);
                    const int minutes = std::stoi(time.substr(14, 2)) + seconds / 60;
                    char text[8];
                    std::snprintf(text, sizeof text, "%02d", minutes % 60);
                    time.replace(14, 2, text);
                    std::snprintf(text, sizeof text, "%02d", seconds % 60);
                    time.replace(17, 2, text);
                    pair[1]["time"] = time;
                }
        WriteMail();
        return "";
    } else if (command == "remove") {
        auto& notes = m_mail["notes"];
        for (auto it = notes.begin(); it != notes.end(); ++it)
            if (it->value("noteId", 0) == std::stoi(args[0])) {
                notes.erase(it);
                break;
            }
        WriteMail();
        return "";
    } else {
        ADD_FAILURE() << "unknown step " << step;
    }
    std::string transcript = "> " + step + "\nresult " + std::to_string(result) + "\n" + found;
    if (out != nullptr)
        transcript += Utf8(out, platform::SysStringLen(out)) + "\n";
    platform::SysFreeString(out);
    m_trace = TakeTraceLines();
    for (const TraceLine& line : m_trace)
        if (line.function == "CNotesCalendar::SearchContactsInfo" ||
            line.function == "CNotesCalendar::GetAttendeeInfo")
            transcript += "log " + line.message + "\n";
    ExpectBaseline(step);
    return transcript;
}

void ExpectBaseline(const std::string& step) {
    NotesrtCounts counts{};
    NotesrtGetCounts(&counts);
    char failed[256] = "";
    NotesrtFailedCalls(failed, sizeof failed);
    EXPECT_LE(counts.databases, 2u) << step << " failed: " << failed;
    EXPECT_EQ(counts.notes + counts.collections + counts.memoryAllocated + counts.mimeDirectories +
                  counts.scheduleContainers,
              0u)
        << step << " failed: " << failed << " notes " << counts.notes << " collections "
        << counts.collections << " memory " << counts.memoryAllocated << " mime "
        << counts.mimeDirectories << " schedules " << counts.scheduleContainers;
}

} // namespace korvo_test
