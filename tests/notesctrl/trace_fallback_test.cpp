// Without a host that exports SendTrace, messages go to the file $KORVO_TRACE names.
#include "data_file.h"
#include "KorvoLotusC.h"
#include "trace.h"

#include "platform/fs.h"
#include "platform/process.h"

#include <gtest/gtest.h>

#include <string>

namespace {

static constexpr char kTraceSource[] = "fallback_test.cpp";

std::string TempPath() {
    char dir[platform::kMaxPath] = {};
    char path[platform::kMaxPath] = {};
    platform::GetTempPathA(sizeof dir, dir);
    platform::GetTempFileNameA(dir, "kt", path);
    return path;
}

void SetTraceTarget(const char* value) {
    platform::SetEnv("KORVO_TRACE", value);
    korvo::ResetTraceSinkForTesting();
}

TEST(TraceFallback, WritesOneLinePerMessageConvertedToUtf8AndNothingWithoutTarget) {
    const std::string path = TempPath();
    SetTraceTarget(path.c_str());

    KORVO_TRACE(PM_SDK::kLevelDetail, "Fallback::Test", "value[%d] name[%s]", 42, "Caf\xe9");
    DllGetKorvoLotusClassObject()->ListAppointment(nullptr, nullptr, nullptr);
    DllDeleteKorvoLotusClassObject();

    const std::string text = korvo_test::FileBytes(path);
    EXPECT_NE(text.find("L3\tfallback_test.cpp:"), std::string::npos) << text;
    EXPECT_NE(text.find("\tFallback::Test\tvalue[42] name[Caf\xc3\xa9]\n"), std::string::npos);
    EXPECT_NE(text.find("\tCNotesCtrl::ListAppointment\tMust init Notes in first!!\n"),
              std::string::npos);

    SetTraceTarget(nullptr);
    KORVO_TRACE(PM_SDK::kLevelFailure, "Fallback::Test", "nowhere");
    EXPECT_EQ(korvo_test::FileBytes(path), text) << "written without a target";
    platform::DeleteFileA(path.c_str());
}

} // namespace
