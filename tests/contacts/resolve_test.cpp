// The two contact operations over the address book: records field by field with their
// fallbacks, photos, searches by key and by IM login, and a planned failure of each runtime
// call on the contact paths (reported under its label; the operation still answers, and nothing
// stays open but what the failed call could not close). The rows are data/resolve_rows.tsv.
#include "contacts_fixture.h"

namespace {

using korvo_test::DataRows;
using korvo_test::Split;
using korvo_test::TakeTraceLines;

const std::filesystem::path kData = CONTACTS_DATA;

// A row of data/resolve_rows.tsv: name, terms, search, result, record, function, message,
// fault plan.
using Fields = std::vector<std::string>;

class ResolveTest : public ContactsTest, public testing::WithParamInterface<Fields> {};

TEST_P(ResolveTest, AnswersWithTheRecords) {
    const Fields& row = GetParam();
    Started();
    const uint32_t baseline = korvo_test::OpenHandles();
    ASSERT_EQ(NotesrtSetFaults(row[7].empty() ? nullptr : row[7].c_str()), 0);
    std::vector<ContactInfo> results(1);
    EXPECT_EQ(Resolve(Split(row[1], ';'), row[2] == "1", results), std::stoi(row[3]));
    NotesrtSetFaults(nullptr);
    ASSERT_EQ(results.size(), row[4].empty() ? 0u : 1u);
    if (!results.empty()) {
        EXPECT_EQ(Describe(results[0]).substr(0, row[4].size()), row[4]);
    }
    if (!row[6].empty()) {
        EXPECT_TRUE(Traced(TakeTraceLines(), row[5], row[6]));
    }
    EXPECT_EQ(korvo_test::OpenHandles(), baseline);
}

INSTANTIATE_TEST_SUITE_P(Contacts, ResolveTest,
                         testing::ValuesIn(DataRows(kData / "resolve_rows.tsv")),
                         korvo_test::FirstField);

} // namespace
