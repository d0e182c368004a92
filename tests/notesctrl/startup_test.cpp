// Finding the installation in the registry, starting and stopping the runtime, and the retry
// dialog for a locked ID file. A start that the runtime fails otherwise is swept by
// tests/calendarops (fault_sweep_tests, init_*).
#include "notesctrl.h"
#include "data_rows.h"
#include "notesstartup.h"
#include "runtime_case.h"
#include "stringutil.h"

#include "platform/codepage.h"
#include "platform/dialog.h"
#include "platform/process.h"
#include "platform/testing/scoped_registry.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using korvo_test::NotesInstallation;
using korvo_test::PathText;
using korvo_test::TraceLine;
using platform::testing::ScopedRegistry;

const char kUserKey[] = "Software\\Vendra Systems, Inc.\\MeetingIntegration";
const char kDefaultKey[] = "SOFTWARE\\Lotus\\Notes";
const char kIbmKey[] = "SOFTWARE\\IBM\\NOTES\\INSTALLER";

// True when the trace holds these (function, message) pairs in this order.
::testing::AssertionResult
HasInOrder(const std::vector<TraceLine>& trace,
           const std::vector<std::pair<std::string, std::string>>& want) {
    size_t next = 0;
    for (const TraceLine& line : trace)
        if (next < want.size() && line.function == want[next].first &&
            line.message == want[next].second)
            ++next;
    if (next == want.size())
        return ::testing::AssertionSuccess();
    auto failure = ::testing::AssertionFailure();
    failure << "missing " << want[next].first << " \"" << want[next].second << "\" in:\n";
    for (const TraceLine& line : trace)
        failure << "  " << line << "\n";
    return failure;
}

class StartupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        NotesrtReset();
        korvo_test::ClearTraceLines();
    }
    void TearDown() override {
        DllDeleteKorvoLotusClassObject();
        EXPECT_EQ(korvo_test::OpenHandles(), 0u);
        platform::SetMessageBoxHookForTesting(nullptr, nullptr);
        NotesrtReset();
    }
    // Points the registry at the installation: program directory and user setting.
    void RegisterInstallation() {
        registry.SetValue(kIbmKey, "PROGDIR", PathText(installation.Root()));
        registry.SetValue(kUserKey, "NotesIniPath", PathText(installation.IniPath()));
    }

    NotesInstallation installation{{"NAMES="}}; // no local address book
    ScopedRegistry registry;
};

// Init starts the runtime once (its lines: IniPathTest's RegisteredInstallation), Uninit stops
// it once; releasing a started object stops it too and makes room for a fresh one.
TEST_F(StartupTest, InitStartsTheRuntimeUninitAndReleaseStopIt) {
    RegisterInstallation();
    IKorvoLotus* object = DllGetKorvoLotusClassObject();
    ASSERT_EQ(object->Init(0), 0);
    korvo_test::ClearTraceLines();
    EXPECT_EQ(object->Init(3), 0);
    const auto again = korvo_test::TakeTraceLines();
    EXPECT_TRUE(HasInOrder(again, {{"CNotesCtrl::Init", "NotesInitated[1],initType[3]"},
                                   {"CNotesCtrl::Init", "Success"}}));
    EXPECT_EQ(again.size(), 2u);

    const std::vector<TraceLine> stop{{2, "notesctrl.cpp", "CNotesCtrl::Uninit", "begin"},
                                      {2, "notesclib.cpp", "UninitNotesLibrary", "before"},
                                      {2, "notesclib.cpp", "UninitNotesLibrary", "after"},
                                      {2, "notesctrl.cpp", "CNotesCtrl::Uninit", "end"}};
    object->Uninit();
    EXPECT_EQ(korvo_test::TakeTraceLines(), stop);
    object->Uninit();
    EXPECT_TRUE(korvo_test::TakeTraceLines().empty());

    ASSERT_EQ(object->Init(0), 0);
    korvo_test::ClearTraceLines();
    DllDeleteKorvoLotusClassObject();
    EXPECT_EQ(korvo_test::TakeTraceLines(), stop);
    auto* fresh = static_cast<CNotesCtrl*>(DllGetKorvoLotusClassObject());
    EXPECT_EQ(fresh->NotesInitiated(), 0);
    EXPECT_EQ(DllGetKorvoLotusClassObject(), fresh);
}

// The lines the trace must hold, in order, are the rows of expected/<name>.txt (function and
// message), with {root} and {ini} for the installation's paths.
struct IniPathRow {
    const char* name;                       // the row's name and its expected file's
    std::optional<std::string> userSetting; // the user setting, with {root}
    bool defaultSetting;                    // the default key names notes.ini
    bool programDir = false;                // the installer key names the program directory
};

std::string Expand(std::string text, const NotesInstallation& installation) {
    for (auto [key, value] :
         {std::pair<std::string, std::string>{"{root}", PathText(installation.Root())},
          {"{ini}", PathText(installation.IniPath())}}) {
        for (size_t at = text.find(key); at != std::string::npos; at = text.find(key))
            text.replace(at, key.size(), value);
    }
    return text;
}

class IniPathTest : public StartupTest, public ::testing::WithParamInterface<IniPathRow> {};

TEST_P(IniPathTest, ChoosesTheNotesIniPath) {
    const IniPathRow& row = GetParam();
    if (row.userSetting)
        registry.SetValue(kUserKey, "NotesIniPath", Expand(*row.userSetting, installation));
    if (row.defaultSetting)
        registry.SetValue(kDefaultKey, "NotesIniPath", PathText(installation.IniPath()));
    if (row.programDir)
        registry.SetValue(kIbmKey, "PROGDIR", PathText(installation.Root()));

    DllGetKorvoLotusClassObject()->Init(0);
    std::vector<std::pair<std::string, std::string>> expected;
    for (const auto& fields :
         korvo_test::DataRows(std::string(KORVO_NOTESCTRL_EXPECTED) + "/" + row.name + ".txt"))
        expected.emplace_back(fields[0], Expand(fields[1], installation));
    ASSERT_FALSE(expected.empty()) << row.name;
    EXPECT_TRUE(HasInOrder(korvo_test::TakeTraceLines(), expected));
}

const IniPathRow kIniPathRows[] = {
    {"RegisteredInstallation", "{ini}", false, true},
    {"MissingFileNamedIniIsAccepted", "{root}/elsewhere/missing.ini", true},
    {"ExistingFolderIsAccepted", "{root}", true},
    {"CapitalIniNeedsAnExistingPath", "{root}/SETTINGS.INI", true},
    {"DefaultKeyWithoutUserSetting", std::nullopt, true},
    {"NothingRegistered", std::nullopt, false},
    {"LongPathIsCutTo288Characters", "/" + std::string(299, 'p') + ".ini", false},
};

INSTANTIATE_TEST_SUITE_P(Registry, IniPathTest, ::testing::ValuesIn(kIniPathRows),
                         korvo_test::RowName<IniPathRow>);

struct RegistryLimitRow {
    const char* name;
    std::basic_string<WCHAR> value; // the stored value
    const char* acp;                // the ANSI code page to use, null for the default
    bool accepted;                  // ReadRegistry's answer
    const char* message;            // its failure message, if any
};

class RegistryLimitTest : public StartupTest,
                          public ::testing::WithParamInterface<RegistryLimitRow> {
  protected:
    void TearDown() override {
        platform::SetEnv("KORVO_ACP", nullptr);
        StartupTest::TearDown();
    }
};

TEST_P(RegistryLimitTest, ReadsValuesUpToTheBuffer) {
    const RegistryLimitRow& row = GetParam();
    if (row.acp != nullptr) {
        platform::SetEnv("KORVO_ACP", row.acp);
        if (platform::GetACP() != 65001)
            GTEST_SKIP() << "the ANSI code page cannot be changed here";
    }
    registry.SetValue(kIbmKey, "PROGDIR", row.value);
    char out[1024] = "junk";
    EXPECT_EQ(ReadRegistry(KORVO_W("SOFTWARE\\IBM\\NOTES\\INSTALLER"), KORVO_W("PROGDIR"), out),
              row.accepted);
    const auto trace = korvo_test::TakeTraceLines();
    if (row.accepted) {
        EXPECT_EQ(std::string(out).size(), row.value.size());
        EXPECT_TRUE(trace.empty());
    } else {
        EXPECT_STREQ(out, "");
        EXPECT_TRUE(HasInOrder(trace, {{"ReadRegistry", row.message}}));
    }
}

const RegistryLimitRow kRegistryLimitRows[] = {
    {"Exactly1023Units", std::basic_string<WCHAR>(1023, 'a'), nullptr, true, nullptr},
    {"Over1023Units", std::basic_string<WCHAR>(1024, 'a'), nullptr, false,
     "Fail to query key value, hRet=234"},
    {"ConvertsTooLong", std::basic_string<WCHAR>(1023, 0xe9), "65001", false,
     "the buffer for path is not enough !! length=2046"},
};

INSTANTIATE_TEST_SUITE_P(Limits, RegistryLimitTest, ::testing::ValuesIn(kRegistryLimitRows),
                         korvo_test::RowName<RegistryLimitRow>);

TEST_F(StartupTest, KeyOnlyInThe32BitViewIsFoundThere) {
    registry.SetValue(kIbmKey, "PROGDIR", "/opt/notes", platform::RegistryView::Force32);
    platform::RegistryKey key = nullptr;
    if (platform::RegOpenCurrentUserKey(KORVO_W("SOFTWARE\\IBM\\NOTES\\INSTALLER"),
                                        platform::RegistryView::Default,
                                        &key) == platform::kErrorSuccess) {
        platform::RegCloseKey(key);
        GTEST_SKIP() << "the registry views are shared here";
    }
    char out[1024] = {};
    EXPECT_TRUE(ReadRegistry(KORVO_W("SOFTWARE\\IBM\\NOTES\\INSTALLER"), KORVO_W("PROGDIR"), out));
    EXPECT_STREQ(out, "/opt/notes");
    const auto trace = korvo_test::TakeTraceLines();
    ASSERT_EQ(trace.size(), 2u);
    EXPECT_EQ(trace[1].level, 2);
}

// Answers the retry dialog from a list, checks its caption and buttons, and counts it.
struct DialogScript {
    std::vector<int> answers;        // the buttons to choose, in order
    const NotesInstallation* unlock; // unlocked by a retry when set
    size_t shown = 0;                // how often the dialog showed
};

int AnswerDialog(const WCHAR* text, const WCHAR* caption, unsigned style, void* context) {
    auto* script = static_cast<DialogScript*>(context);
    ++script->shown;
    EXPECT_EQ(StringUtil::NarrowAnsi(caption), "Vendra Parlo - IBM Notes Integration");
    EXPECT_EQ(style, 0x35u);
    EXPECT_NE(text[0], 0);
    if (script->answers.empty())
        return platform::kIdCancel;
    const int answer = script->answers.front();
    script->answers.erase(script->answers.begin());
    if (answer == platform::kIdRetry && script->unlock != nullptr)
        script->unlock->WriteDataFile("user.id", "CN=Ann Lee/O=Acme\n");
    return answer;
}

struct LockedRow {
    const char* name;         // the row's name
    int32_t initType;         // what Init is asked for
    std::vector<int> answers; // what the user chooses
    bool unlock;              // the ID file is unlocked before the user retries
    size_t dialogs;           // how often the dialog shows
    size_t failures;          // "Failure" lines of Init; Init answers 1 when there are any
};

class LockedIdTest : public StartupTest, public ::testing::WithParamInterface<LockedRow> {};

TEST_P(LockedIdTest, OffersRetryWhileTheIdFileIsLocked) {
    const LockedRow& row = GetParam();
    RegisterInstallation();
    installation.LockIdFile();
    DialogScript script{row.answers, row.unlock ? &installation : nullptr};
    platform::SetMessageBoxHookForTesting(&AnswerDialog, &script);

    EXPECT_EQ(DllGetKorvoLotusClassObject()->Init(row.initType), row.failures == 0 ? 0 : 1);
    EXPECT_EQ(script.shown, row.dialogs);
    size_t failures = 0;
    for (const TraceLine& line : korvo_test::TakeTraceLines())
        if (line.function == "CNotesCtrl::Init" && line.message == "Failure")
            ++failures;
    EXPECT_EQ(failures, row.failures);
}

// The installation lists no address book, so once the runtime is up Init for contacts fails
// without a runtime status: the retry after the unlock must not ask again.
const LockedRow kLockedRows[] = {
    {"Cancel", 2, {platform::kIdCancel}, false, 1, 1},
    {"RetryThenCancel", 2, {platform::kIdRetry, platform::kIdCancel}, false, 2, 2},
    {"RetryAfterUnlock", 0, {platform::kIdRetry}, true, 1, 0},
    {"RetryAfterUnlockFailsForAnotherReason", 2, {platform::kIdRetry}, true, 1, 2},
};

INSTANTIATE_TEST_SUITE_P(Dialog, LockedIdTest, ::testing::ValuesIn(kLockedRows),
                         korvo_test::RowName<LockedRow>);

} // namespace
