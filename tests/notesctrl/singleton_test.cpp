// The factory exports: one object per process until it is released.
#include "KorvoLotusC.h"
#include "notesctrl.h"
#include "trace_recorder.h"

#include <gtest/gtest.h>

namespace {

class SingletonTest : public ::testing::Test {
  protected:
    void TearDown() override { DllDeleteKorvoLotusClassObject(); }
};

TEST_F(SingletonTest, RepeatedCallsReturnTheSameObject) {
    IKorvoLotus* first = DllGetKorvoLotusClassObject();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(DllGetKorvoLotusClassObject(), first);
    EXPECT_NE(dynamic_cast<CMgrClassFactory*>(first), nullptr);
}

TEST_F(SingletonTest, ReleaseMakesRoomForAFreshObject) {
    IKorvoLotus* first = DllGetKorvoLotusClassObject();
    first->Init(1);
    DllDeleteKorvoLotusClassObject();

    auto* second = static_cast<CNotesCtrl*>(DllGetKorvoLotusClassObject());
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->NotesInitiated(), 0);
}

TEST_F(SingletonTest, ReleaseWithoutObjectDoesNothing) {
    DllDeleteKorvoLotusClassObject();
    DllDeleteKorvoLotusClassObject();
    korvo_test::ClearTraceLines();
    DllDeleteKorvoLotusClassObject();
    EXPECT_TRUE(korvo_test::TakeTraceLines().empty());
}

TEST_F(SingletonTest, InitWithoutRuntimeFailsAndSaysSo) {
    korvo_test::ClearTraceLines();
    EXPECT_EQ(DllGetKorvoLotusClassObject()->Init(2), 1);
    const auto lines = korvo_test::TakeTraceLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines.front(), (korvo_test::TraceLine{2, "notesctrl.cpp", "CNotesCtrl::Init",
                                                    "NotesInitated[0],initType[2]"}));
    EXPECT_EQ(lines.back(),
              (korvo_test::TraceLine{2, "notesctrl.cpp", "CNotesCtrl::Init", "Failure"}));
}

} // namespace
