// The interface at the size of a real user's data: an installation from korvo-mkinstall with
// thousands of people in two address books and a mail file of a thousand meetings, listed
// across many calendar answers. Nothing may be lost or listed twice at a piece boundary,
// every resolvable attendee must be found in whichever book holds them, and the runtime must
// hold nothing more afterwards than the address books.
#include "operations_fixture.h"

#include "notesrt_testing.h"

#include "platform/oleauto.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>
#include <filesystem>
#include <regex>
#include <string>

namespace korvo_test {
namespace {

namespace fs = std::filesystem;

const std::string kWeekStart = "2026-12-07";
const std::string kWeekEnd = "2026-12-11";

// Occurrences of needle in text.
size_t Count(const std::string& text, const std::string& needle) {
    size_t count = 0;
    for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1))
        ++count;
    return count;
}

// What the generator's seed 7 puts into the week: listed instances, the attendees of the
// meetings the user organises (only those list attendees) and those that some address book
// knows. Counted from the mail file it writes (a change to korvo-mkinstall changes them).
constexpr size_t kInstances = 1744;
constexpr size_t kAttendees = 2652;
constexpr size_t kResolvable = 2495;

class ScaleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        NotesrtReset();
        m_root = fs::temp_directory_path() / ("korvo-scale-" + std::to_string(::getpid()));
        fs::remove_all(m_root);
        const std::string command = std::string(KORVO_MKINSTALL) + " --out " + m_root.string() +
                                    " --local 3000 --server 9000 --appointments 1200"
                                    " --attendees 6 --repeating 0.1 --unresolvable 0.05"
                                    " --non-ascii 0.1 --mime 0.2 --seed 7 > /dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        ::setenv("KORVO_REGISTRY", (m_root / "registry.ini").c_str(), 1);
    }
    void TearDown() override {
        DllDeleteKorvoLotusClassObject();
        NotesrtCounts counts{};
        NotesrtGetCounts(&counts);
        EXPECT_EQ(counts.databases + counts.notes + counts.memoryAllocated, 0u);
        NotesrtReset();
        ::unsetenv("KORVO_REGISTRY");
        fs::remove_all(m_root);
    }

    // The week's document; the runtime holds the address books at most after it.
    std::string ListWeek(IKorvoLotus* object) {
        FILETIME start = Day(kWeekStart), end = Day(kWeekEnd);
        BSTR xml = nullptr;
        EXPECT_EQ(object->ListAppointment(&start, &end, &xml), 0);
        const std::string document = Utf8(xml, platform::SysStringLen(xml));
        platform::SysFreeString(xml);
        ExpectBaseline("list");
        return document;
    }

    fs::path m_root; // the generated installation
};

TEST_F(ScaleTest, WeekOfAThousandMeetingsListsEveryInstanceAndResolvesEveryKnownAttendee) {
    IKorvoLotus* object = DllGetKorvoLotusClassObject();
    ASSERT_EQ(object->Init(1), 0);
    const std::string cold = ListWeek(object);
    EXPECT_EQ(Count(cold, "<appointment>"), kInstances);
    EXPECT_EQ(Count(cold, "<attendee>"), kAttendees);
    EXPECT_EQ(Count(cold, "@acme.example]]></email>"), kResolvable);
    EXPECT_EQ(Count(cold, "@acme.example]]></hostEmail>"), kInstances);
    const std::regex entryId("<entryID>([0-9A-F]{32})</entryID>");
    EXPECT_EQ(static_cast<size_t>(std::distance(
                  std::sregex_iterator(cold.begin(), cold.end(), entryId), std::sregex_iterator())),
              kInstances);

    // The second listing of the day answers names from the cache: the same document.
    EXPECT_EQ(ListWeek(object), cold);
}

} // namespace
} // namespace korvo_test
