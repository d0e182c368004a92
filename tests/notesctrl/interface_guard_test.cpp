// Every guarded operation, called before Init, answers its guard value, logs the guard
// message under its own name, and leaves its outputs alone.
#include "KorvoLotusC.h"
#include "trace_recorder.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using korvo_test::TraceLine;

// Recognisable values the operations must not touch.
BSTR const kUntouchedBstr = reinterpret_cast<BSTR>(static_cast<uintptr_t>(0x5a5a5a50));

struct Outputs {
    BSTR out = kUntouchedBstr;         // the operation's BSTR output
    std::vector<ContactInfo> contacts; // the contact operations' results
    FILETIME day{0x1234, 0x01db0000};  // the calendar operations' first and last day
};

struct GuardRow {
    const char* function; // the name the guard logs under
    int32_t guardValue;   // the value it returns
    std::function<int32_t(IKorvoLotus*, Outputs&)> call;
};

const GuardRow kGuardRows[] = {
    {"CNotesCtrl::SendMail", 0,
     [](IKorvoLotus* o, Outputs&) { return o->SendMail(nullptr, nullptr, nullptr, 0); }},
    {"CNotesCtrl::GetSMTPFromDispName", 0,
     [](IKorvoLotus* o, Outputs& out) { return o->GetSMTPFromDispName(nullptr, &out.out); }},
    {"CNotesCtrl::ListAppointment", 1,
     [](IKorvoLotus* o, Outputs& out) { return o->ListAppointment(&out.day, &out.day, &out.out); }},
    {"CNotesCtrl::ListRecrrentInstance", 0,
     [](IKorvoLotus* o, Outputs& out) {
         return o->ListRecrrentInstance(nullptr, &out.day, &out.day, &out.out);
     }},
    {"CNotesCtrl::DeleteMsgInfo", 0,
     [](IKorvoLotus* o, Outputs& out) { return o->DeleteMsgInfo(nullptr, &out.out); }},
    {"CNotesCtrl::GetMsgInfo", 0,
     [](IKorvoLotus* o, Outputs& out) { return o->GetMsgInfo(nullptr, 0, &out.out); }},
    {"CNotesCtrl::GetCurProfileInfo", 0,
     [](IKorvoLotus* o, Outputs& out) { return o->GetCurProfileInfo(&out.out); }},
    {"CNotesCtrl::ResolveContact", 1,
     [](IKorvoLotus* o, Outputs& out) {
         CString query = KORVO_W("Bo Chen");
         return o->ResolveContact(query, out.contacts, false, 0);
     }},
    {"CNotesCtrl::ResolveContactBySearchQuery", 1,
     [](IKorvoLotus* o, Outputs& out) {
         std::vector<CString> terms{KORVO_W("Bo"), KORVO_W("Cy")};
         return o->ResolveContactBySearchQuery(terms, out.contacts);
     }},
};

class GuardTest : public ::testing::TestWithParam<GuardRow> {
  protected:
    void SetUp() override { korvo_test::ClearTraceLines(); }
    void TearDown() override { DllDeleteKorvoLotusClassObject(); }
};

TEST_P(GuardTest, AnswersGuardValueBeforeInit) {
    const GuardRow& row = GetParam();
    IKorvoLotus* object = DllGetKorvoLotusClassObject();
    ASSERT_NE(object, nullptr);

    Outputs outputs;
    ContactInfo marker;
    marker.fullName = KORVO_W("kept");
    outputs.contacts.push_back(marker);

    EXPECT_EQ(row.call(object, outputs), row.guardValue);
    EXPECT_EQ(outputs.out, kUntouchedBstr);
    ASSERT_EQ(outputs.contacts.size(), 1u);
    EXPECT_EQ(outputs.contacts[0].fullName, KORVO_W("kept"));

    const std::vector<TraceLine> expected{
        {0, "notesctrl.cpp", row.function, "Must init Notes in first!!"}};
    EXPECT_EQ(korvo_test::TakeTraceLines(), expected);
}

INSTANTIATE_TEST_SUITE_P(AllGuardedOperations, GuardTest, ::testing::ValuesIn(kGuardRows),
                         [](const ::testing::TestParamInfo<GuardRow>& row) {
                             std::string name = row.param.function;
                             return name.substr(name.find("::") + 2);
                         });

} // namespace
