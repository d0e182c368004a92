// Fault injection: planned statuses and the plan from the environment. Each call failed on the
// library's paths (that it gives nothing back, leaves nothing open and the next call works) is
// the fault sweep of tests/calendarops.
#include "temp_install.h"

#include <cstdlib>
#include <vector>

namespace {

struct FaultCase {
    const char* name;           // test name
    const char* plan;           // the fault plan
    std::vector<STATUS> allocs; // statuses of five OSMemAlloc calls in a row
};

class FaultTest : public testing::TestWithParam<FaultCase> {};

TEST_P(FaultTest, FailsThePlannedCallsOnly) {
    TempInstall install;
    install.WriteStandard();
    ASSERT_EQ(NotesrtSetFaults(GetParam().plan), 0);
    ASSERT_EQ(install.Start(), 0);
    std::vector<STATUS> statuses;
    uint32_t succeeded = 0;
    for (int i = 0; i < 5; ++i) {
        DHANDLE handle = 0xABCDu;
        statuses.push_back(OSMemAlloc(0, 8, &handle));
        if (statuses.back() == 0)
            ++succeeded;
        else
            EXPECT_EQ(handle, 0xABCDu);
    }
    EXPECT_EQ(statuses, GetParam().allocs);
    EXPECT_EQ(Counts().memoryAllocated, succeeded);
}

INSTANTIATE_TEST_SUITE_P(
    Plans, FaultTest,
    testing::Values(FaultCase{"None", "", {0, 0, 0, 0, 0}},
                    FaultCase{"Second", "OSMemAlloc@2=0x4321", {0, 0x4321, 0, 0, 0}},
                    FaultCase{"ThirdOnward", "OSMemAlloc@3+=7", {0, 0, 7, 7, 7}},
                    FaultCase{"AnyCall", "*@3=9, NSFDbOpen@1=5", {0, 9, 0, 0, 0}},
                    FaultCase{"FirstRuleWins", "OSMemAlloc@2=3,*@3=4", {0, 3, 0, 0, 0}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Faults, CountsEntriesNotUnderstood) {
    EXPECT_EQ(NotesrtSetFaults("X@0=1,X@1=0,X=1,@1=2,X@1=70000,X@1=2,X@a=1"), 6);
    EXPECT_EQ(NotesrtSetFaults(nullptr), 0);
    NotesrtReset();
}

TEST(Faults, InjectedStartDoesNotStart) {
    TempInstall install;
    install.WriteStandard();
    ASSERT_EQ(NotesrtSetFaults("NotesInitExtended@1=6022"), 0);
    EXPECT_EQ(install.Start(), ERR_ID_LOCKED);
    char name[MAXUSERNAME];
    EXPECT_NE(SECKFMGetUserName(name), 0);
    EXPECT_EQ(install.Start(), 0);
}

// Runs with NOTESRT_FAULTS=NSFDbOpen@1=0x1234 (a separate ctest entry); skipped otherwise.
TEST(FaultsFromEnvironment, ReadsThePlanAtStart) {
    if (std::getenv("NOTESRT_FAULTS") == nullptr)
        GTEST_SKIP() << "NOTESRT_FAULTS not set";
    TempInstall install;
    install.WriteStandard();
    install.Write("data/names.nsf", FileBytes(FixturePath("names.nsf")));
    ASSERT_EQ(install.Start(), 0);
    DBHANDLE db = 0;
    EXPECT_EQ(NSFDbOpen("names.nsf", &db), 0x1234);
    ASSERT_EQ(NSFDbOpen("names.nsf", &db), 0);
    EXPECT_EQ(NSFDbClose(db), 0);
}

} // namespace
