// The calendar operations through the interface: each case runs a sequence of operations and
// its whole transcript (results, documents, selected log lines) is compared with the file
// expected/<case>.txt. After every operation the runtime must hold only the address books.
#include "operations_fixture.h"

#include <fstream>

namespace {

using korvo_test::OperationsTest;

const std::string kExpected = KORVO_CALENDAROPS_EXPECTED;

// One case: its name (and the name of its expected file) and its ";"-separated steps.
struct OpsCase {
    const char* name;  // the case's name and the name of its expected file
    const char* steps; // see operations_fixture.h
};

class CalendarOpsTest : public OperationsTest, public ::testing::WithParamInterface<OpsCase> {};

TEST_P(CalendarOpsTest, TranscriptMatchesExpected) {
    IKorvoLotus* object = DllGetKorvoLotusClassObject();
    const std::string transcript = RunAll(GetParam().steps, object);
    const std::string path = kExpected + "/" + GetParam().name + ".txt";
    if (std::getenv("KORVO_UPDATE_EXPECTED") != nullptr)
        std::ofstream(path, std::ios::binary) << transcript;
    EXPECT_EQ(transcript, korvo_test::ReadWholeFile(path));
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

INSTANTIATE_TEST_SUITE_P(Ops, CalendarOpsTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<OpsCase>& param) {
                             return std::string(param.param.name);
                         });

} // namespace
