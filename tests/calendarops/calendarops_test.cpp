// The calendar operations through the interface, against a mail server with its address book,
// a local address book and the user's mail file: each case runs a sequence of operations and
// its whole transcript (results, documents, selected log lines) is compared with the file
// expected/<case>.txt. After every operation the runtime must hold only the address books.
#include "KorvoLotusC.h"
#include "notes_installation.h"
#include "notesrt_testing.h"
#include "trace_recorder.h"

#include "platform/clock.h"
#include "platform/oleauto.h"
#include "platform/testing/scoped_registry.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <sstream>

namespace {

using korvo_test::PathText;

const std::string kData = KORVO_CALENDAROPS_DATA;
const std::string kExpected = KORVO_CALENDAROPS_EXPECTED;
const std::string kMailFile = "servers/Mail1/mail/ann.nsf";

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    for (std::string part; std::getline(in, part, separator);)
        parts.push_back(part);
    return parts;
}

// The FILETIME whose UTC fields are the day "YYYY-MM-DD" at 12:00.
FILETIME Day(const std::string& text) {
    int y = std::stoi(text.substr(0, 4));
    const unsigned m = std::stoul(text.substr(5, 2));
    const unsigned d = std::stoul(text.substr(8, 2));
    y -= m <= 2;
    const int era = y / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const long long days1970 = era * 146097LL + doe - 719468;
    const unsigned long long ticks =
        (static_cast<unsigned long long>(days1970 + 134774) * 86400ULL + 43200ULL) * 10000000ULL;
    return FILETIME{static_cast<uint32_t>(ticks), static_cast<uint32_t>(ticks >> 32)};
}

std::string Utf8(const WCHAR* text) {
    std::string out;
    for (const WCHAR* p = text; p != nullptr && *p != 0; ++p) {
        uint32_t c = *p;
        if (c >= 0xD800 && c < 0xDC00 && p[1] != 0)
            c = 0x10000 + ((c - 0xD800) << 10) + (*++p - 0xDC00);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

CString Wide(const std::string& ascii) {
    return CString(ascii.begin(), ascii.end());
}

// One case: its steps, separated by ";", each a command and its "|"-separated arguments.
struct OpsCase {
    const char* name;  // the case's name and the name of its expected file
    const char* steps; // init N, list S|E, instance KEY|S|E, get KEY, delete KEY, smtp NAME,
                       // profile, clear, clock YYYY-MM-DD HH:MM, shift NOTEID|SECONDS,
                       // remove NOTEID
};

class CalendarOpsBase : public ::testing::Test {
  protected:
    void SetUp() override {
        NotesrtReset();
        korvo_test::ClearTraceLines();
        m_installation.WriteDataFile("names.nsf", ReadFile(kData + "/names.nsf"));
        m_installation.WriteDataFile("servers/Mail1/names.nsf",
                                     ReadFile(kData + "/server_names.nsf"));
        m_installation.WriteDataFile("servers/Mail1/mail.box", R"({"notes": []})");
        m_mail = nlohmann::json::parse(ReadFile(kData + "/mail.nsf"));
        WriteMail();
        m_registry.SetValue("SOFTWARE\\IBM\\NOTES\\INSTALLER", "PROGDIR",
                            PathText(m_installation.Root()));
        m_registry.SetValue("Software\\Vendra Systems, Inc.\\MeetingIntegration", "NotesIniPath",
                            PathText(m_installation.IniPath()));
    }
    void TearDown() override {
        DllDeleteKorvoLotusClassObject();
        platform::SetLocalTimeForTesting(nullptr);
        NotesrtCounts counts{};
        NotesrtGetCounts(&counts);
        EXPECT_EQ(counts.databases + counts.notes + counts.memoryAllocated, 0u);
        NotesrtReset();
    }

    void WriteMail() { m_installation.WriteDataFile(kMailFile, m_mail.dump()); }

    nlohmann::json& Note(const std::string& noteId) {
        for (auto& note : m_mail["notes"])
            if (note.value("noteId", 0) == std::stoi(noteId))
                return note;
        throw std::runtime_error("no note " + noteId);
    }

    // Runs one step and returns its transcript.
    std::string Run(const std::string& step, IKorvoLotus* object) {
        const size_t blank = step.find(' ');
        const std::string command = step.substr(0, blank);
        const std::vector<std::string> args = blank == std::string::npos
                                                  ? std::vector<std::string>{}
                                                  : Split(step.substr(blank + 1), '|');
        BSTR out = nullptr;
        int32_t result = 0;
        if (command == "init") {
            result = object->Init(std::stoi(args[0]));
        } else if (command == "list") {
            FILETIME start = Day(args[0]), end = Day(args[1]);
            result = object->ListAppointment(&start, &end, &out);
        } else if (command == "instance") {
            FILETIME start = Day(args[1]), end = Day(args[2]);
            CString key = Wide(args[0]);
            result = object->ListRecrrentInstance(key.data(), &start, &end, &out);
        } else if (command == "get") {
            CString key = Wide(args[0]);
            result = object->GetMsgInfo(key.data(), 0, &out);
        } else if (command == "delete") {
            CString key = Wide(args[0]);
            result = object->DeleteMsgInfo(key.data(), &out);
        } else if (command == "smtp") {
            CString name = Wide(args[0]);
            result = object->GetSMTPFromDispName(name.data(), &out);
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
        std::string transcript = "> " + step + "\nresult " + std::to_string(result) + "\n";
        if (out != nullptr)
            transcript += Utf8(out) + "\n";
        platform::SysFreeString(out);
        for (const korvo_test::TraceLine& line : korvo_test::TakeTraceLines())
            if (line.function == "CNotesCalendar::SearchContactsInfo" ||
                line.function == "CNotesCalendar::GetAttendeeInfo")
                transcript += "log " + line.message + "\n";
        ExpectBaseline(step);
        return transcript;
    }

    // After an operation the runtime holds the two address books and nothing else.
    void ExpectBaseline(const std::string& step) {
        NotesrtCounts counts{};
        NotesrtGetCounts(&counts);
        char failed[256] = "";
        NotesrtFailedCalls(failed, sizeof failed);
        EXPECT_LE(counts.databases, 2u) << step << " failed: " << failed;
        EXPECT_EQ(counts.notes + counts.collections + counts.memoryAllocated +
                      counts.mimeDirectories + counts.scheduleContainers,
                  0u)
            << step << " failed: " << failed << " notes " << counts.notes << " collections "
            << counts.collections << " memory " << counts.memoryAllocated << " mime "
            << counts.mimeDirectories << " schedules " << counts.scheduleContainers;
    }

    korvo_test::NotesInstallation m_installation{
        {"MailType=0", "MailServer=CN=Mail1/O=Acme", "MailFile=mail/ann.nsf"}};
    platform::testing::ScopedRegistry m_registry;
    nlohmann::json m_mail;
};

class CalendarOpsTest : public CalendarOpsBase, public ::testing::WithParamInterface<OpsCase> {};

TEST_P(CalendarOpsTest, TranscriptMatchesExpected) {
    IKorvoLotus* object = DllGetKorvoLotusClassObject();
    std::string transcript;
    for (const std::string& step : Split(GetParam().steps, ';'))
        transcript += Run(step, object);
    const std::string path = kExpected + "/" + GetParam().name + ".txt";
    if (std::getenv("KORVO_UPDATE_EXPECTED") != nullptr)
        std::ofstream(path, std::ios::binary) << transcript;
    EXPECT_EQ(transcript, ReadFile(path));
}

const OpsCase kCases[] = {
    {"week", "init 1;list 2026-12-07|2026-12-11;profile"},
    {"repeating_without_first_day_instance", "init 1;list 2026-12-08|2026-12-11"},
    {"repeating_from_its_second_day", "init 1;list 2026-12-10|2026-12-11"},
    {"instance_cached_and_searched",
     "init 1;list 2026-12-07|2026-12-11;instance 0A000000000000000000000000000104|2026-12-10|"
     "2026-12-10;delete 0A000000000000000000000000000104;instance "
     "0A000000000000000000000000000104|2026-12-10|2026-12-10;instance "
     "0A000000000000000000000000000999|2026-12-07|2026-12-11"},
    {"get_changed_and_removed",
     "init 1;list 2026-12-07|2026-12-11;shift 100|30;get 0A000000000000000000000000000100;"
     "shift 100|30;get 0A000000000000000000000000000100;delete "
     "0A000000000000000000000000000100;remove 116;get 0A000000000000000000000000000116;get "
     "0A000000000000000000000000000116"},
    {"get_before_any_listing", "init 1;get 0A000000000000000000000000000100"},
    {"delete_twice_and_clear",
     "init 1;list 2026-12-07|2026-12-11;delete 0A000000000000000000000000000112;delete "
     "0A000000000000000000000000000112;clear;delete 0A000000000000000000000000000100;smtp Zed "
     "Nobody"},
    {"profile_after_contacts_init", "init 2;profile"},
    {"smtp_cache_and_search",
     "clock 2026-12-07 23:59;init 1;smtp Ann Lee;list 2026-12-07|2026-12-07;smtp Zed Nobody;"
     "smtp CN=Bo Chen/O=Acme;smtp CN=Bo Chen/O=Acme;smtp Dee Ray;smtp Nobody Known;clock "
     "2026-12-08 00:00;smtp Zed Nobody;smtp Ann Lee"},
};

// One operation run with each runtime call in turn failed: what must be set up first, the
// step, and the results it may give.
struct FaultCase {
    const char* name;    // the case's name
    const char* setup;   // steps run without faults
    const char* step;    // the step run with the N-th runtime call failed
    const char* results; // the results allowed, e.g. "0" or "01"
};

const FaultCase kFaultCases[] = {
    {"profile", "init 1", "profile", "1"},
    {"init_calendar", "", "init 1", "01"},
    {"list", "init 1", "list 2026-12-07|2026-12-11", "01"},
    {"instance", "init 1;list 2026-12-07|2026-12-11",
     "instance 0A000000000000000000000000000104|2026-12-10|2026-12-10", "01"},
    {"get", "init 1;list 2026-12-07|2026-12-11", "get 0A000000000000000000000000000100",
     "0123456789"},
    {"smtp", "init 1", "smtp Zed Nobody", "01"},
};

class CalendarFaultsTest : public CalendarOpsBase, public ::testing::WithParamInterface<int> {};

constexpr int kFaultCalls = 120; // calls failed in turn; more than any step makes

TEST_P(CalendarFaultsTest, EveryFailedCallLeavesNothingOpen) {
    const FaultCase& row = kFaultCases[static_cast<size_t>(GetParam())];
    for (int call = 1; call <= kFaultCalls; ++call) {
        IKorvoLotus* object = DllGetKorvoLotusClassObject();
        for (const std::string& step : Split(row.setup, ';'))
            Run(step, object);
        const std::string plan = "*@" + std::to_string(call) + "=549";
        SCOPED_TRACE(plan);
        NotesrtSetFaults(plan.c_str());
        const std::string transcript = Run(row.step, object);
        NotesrtSetFaults(nullptr);
        const size_t at = transcript.find("result ");
        ASSERT_NE(at, std::string::npos);
        EXPECT_NE(std::string(row.results).find(transcript[at + 7]), std::string::npos)
            << row.step << " with " << plan << "\n"
            << transcript;
        DllDeleteKorvoLotusClassObject();
        NotesrtReset();
    }
}

INSTANTIATE_TEST_SUITE_P(Ops, CalendarOpsTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<OpsCase>& param) {
                             return std::string(param.param.name);
                         });

INSTANTIATE_TEST_SUITE_P(Faults, CalendarFaultsTest,
                         ::testing::Range(0, static_cast<int>(std::size(kFaultCases))),
                         [](const ::testing::TestParamInfo<int>& param) {
                             return std::string(kFaultCases[param.param].name);
                         });

} // namespace
