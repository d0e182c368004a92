// The calendar operations through the interface: each case expected/<case>.steps runs its
// operations, one a line (see operations_fixture.h), and its whole transcript (results,
// documents, selected log lines) is compared with the file expected/<case>.txt. After every
// operation the runtime must hold only the address books.
#include "operations_fixture.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {

using korvo_test::OperationsTest;

const std::string kExpected = KORVO_CALENDAROPS_EXPECTED;

// The names of the cases: the .steps files under expected/, in order.
std::vector<std::string> CaseNames() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(kExpected))
        if (entry.path().extension() == ".steps")
            names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

class CalendarOpsTest : public OperationsTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(CalendarOpsTest, TranscriptMatchesExpected) {
    IKorvoLotus* object = DllGetKorvoLotusClassObject();
    std::string transcript;
    for (const std::string& step : korvo_test::SplitText(
             korvo_test::FileBytes(kExpected + "/" + GetParam() + ".steps"), '\n'))
        transcript += Run(step, object);
    const std::string path = kExpected + "/" + GetParam() + ".txt";
    if (std::getenv("KORVO_UPDATE_EXPECTED") != nullptr)
        std::ofstream(path, std::ios::binary) << transcript;
    EXPECT_EQ(transcript, korvo_test::FileBytes(path));
}

INSTANTIATE_TEST_SUITE_P(Ops, CalendarOpsTest, ::testing::ValuesIn(CaseNames()),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                             return param.param;
                         });

} // namespace
