// The toolkit's heap, ring nodes, temporary names, whole-file reading and writing,
// directory listings, walks and removal, on real temporary trees.
#include "temp_tree.h"

#include "rk/chain.h"
#include "rk/fs.h"
#include "rk/memory.h"

#include "platform/fs.h"
#include "platform/process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

const WCHAR kSep = WCHAR(platform::PathSeparator());

// The heap hosts allocate from: a grown block keeps its bytes.
TEST(Memory, ReallocKeepsTheBytes) {
    auto* block = static_cast<char*>(rk_mem_alloc(16));
    std::memcpy(block, "0123456789abcdef", 16);
    block = static_cast<char*>(rk_mem_realloc(block, 4096));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(std::string(block, 16), "0123456789abcdef");
    rk_mem_free(block);
}

TEST(Chain, InsertWalkAndDetach) {
    RK::CChain a, b, c;
    EXPECT_TRUE(a.IsChain());
    EXPECT_TRUE(a.IsEmpty());
    b.Insert(&a);
    EXPECT_EQ(a.GetNext(), &b);
    EXPECT_EQ(b.GetNext(), &a);
    EXPECT_FALSE(a.IsEmpty());
    c.Insert(&b); // a -> b -> c -> a
    EXPECT_EQ(b.GetNext(), &c);
    EXPECT_EQ(c.GetNext(), &a);
    EXPECT_EQ(a.GetPrev(), &c);
    EXPECT_EQ(c.GetPrev(), &b);
    b.Detach();
    EXPECT_TRUE(b.IsEmpty());
    EXPECT_EQ(a.GetNext(), &c);
    EXPECT_EQ(c.GetNext(), &a);
    c.Detach();
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(a.GetPrev(), &a);
    a.Detach();
    EXPECT_TRUE(a.IsEmpty());
}

TEST(TempPath, IsThePlatformsWithItsSeparator) {
    WCHAR expected[platform::kMaxPath];
    ASSERT_GT(platform::GetTempPathW(platform::kMaxPath, expected), 0u);
    EXPECT_EQ(Narrow(rk_fs_tmppath()), Narrow(expected));
    EXPECT_EQ(rk_fs_tmppath(), rk_fs_tmppath());
}

// Temporary names without creation: the directory, its separator and the prefix, the process
// ID, a counter that grows by one per name, and ".tmp"; -1 for a name that does not fit.
TEST(TempNames, ProcessIdCounterAndExtension) {
    struct Row {
        const char* dir;    // directory passed
        const char* prefix; // prefix passed, null for none
        std::string start;  // the name up to the process ID ('|' for the platform's separator)
    };
    const Row rows[] = {
        {"d\\", "pre", "d\\pre"}, {"d/", "pre", "d/pre"}, {"d", "pre", "d|pre"},
        {"", "pre", "pre"},       {"d/", nullptr, "d/"},
    };
    char pid[16];
    std::snprintf(pid, sizeof pid, "%lx",
                  static_cast<unsigned long>(platform::GetCurrentProcessId()));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.start);
        WText start = W(row.start) + W(pid);
        std::replace(start.begin(), start.end(), WCHAR('|'), kSep);
        const WText prefix = row.prefix != nullptr ? W(row.prefix) : WText();
        const WCHAR* prefixArgument = row.prefix != nullptr ? prefix.c_str() : nullptr;
        WCHAR first[platform::kMaxPath];
        WCHAR second[platform::kMaxPath];
        const int length = rk_fs_tmpfile(first, W(row.dir).c_str(), prefixArgument, 0);
        rk_fs_tmpfile(second, W(row.dir).c_str(), prefixArgument, 0);
        const WText name = first;
        ASSERT_EQ(length, static_cast<int>(name.size()));
        ASSERT_EQ(name.compare(0, start.size(), start), 0) << Narrow(name);
        ASSERT_EQ(name.substr(name.size() - 4), W(".tmp"));
        const auto counter = [&start](const WText& text) {
            return std::stoul(Narrow(text.substr(start.size(), text.size() - start.size() - 4)),
                              nullptr, 16);
        };
        EXPECT_EQ(counter(second), counter(name) + 1);
    }
    WCHAR name[platform::kMaxPath] = {WCHAR('x')};
    const WText dir(250, WCHAR('d'));
    EXPECT_EQ(rk_fs_tmpfile(name, dir.c_str(), nullptr, 0), -1);
    EXPECT_EQ(rk_fs_tmpfile(name, dir.c_str(), nullptr, 1), -1);
    EXPECT_EQ(name[0], 0);
}

using Files = TempTree;

TEST_F(Files, TempFileCreationMakesNewEmptyFilesOnlyInExistingDirectories) {
    WCHAR first[platform::kMaxPath];
    WCHAR second[platform::kMaxPath];
    ASSERT_GT(rk_fs_tmpfile(first, m_root.c_str(), W("c").c_str(), 1), 0);
    ASSERT_GT(rk_fs_tmpfile(second, m_root.c_str(), W("c").c_str(), 1), 0);
    EXPECT_NE(Narrow(first), Narrow(second));
    std::string content = "untouched";
    EXPECT_EQ(rk_fs_read(first, content), 1);
    EXPECT_EQ(content, "");
    EXPECT_TRUE(platform::PathExistsW(second));
    EXPECT_EQ(rk_fs_tmpfile(first, Path("missing").c_str(), nullptr, 1), 0);
}

TEST_F(Files, ReadReplacesDataOrLeavesItAlone) {
    std::string data = "keep";
    EXPECT_EQ(rk_fs_read(Path("missing.txt").c_str(), data), 0);
    EXPECT_EQ(data, "keep");
    MakeFile("binary.dat", std::string("a\0\xFF\n", 4));
    MakeFile("empty.dat", "");
    EXPECT_EQ(rk_fs_read(Path("binary.dat").c_str(), data), 1);
    EXPECT_EQ(data, std::string("a\0\xFF\n", 4));
    EXPECT_EQ(rk_fs_read(Path("empty.dat").c_str(), data), 1);
    EXPECT_EQ(data, "");
}

TEST_F(Files, WriteKeepsTheTailOfALongerFileOrMakesAMissingOne) {
    MakeFile("ten.txt", "0123456789");
    EXPECT_EQ(rk_fs_write(Path("ten.txt").c_str(), "abc", 3), 3u);
    std::string data;
    ASSERT_EQ(rk_fs_read(Path("ten.txt").c_str(), data), 1);
    EXPECT_EQ(data, "abc3456789");
    EXPECT_EQ(rk_fs_write(Path("new.txt").c_str(), "xyz", 3), 3u);
    ASSERT_EQ(rk_fs_read(Path("new.txt").c_str(), data), 1);
    EXPECT_EQ(data, "xyz");
    EXPECT_EQ(rk_fs_write(Path("missing/new.txt").c_str(), "xyz", 3), 0u);
}

// The names rk_fs_find_first and rk_fs_find_next give for path, sorted.
std::vector<std::string> ListedNames(const WText& path) {
    std::vector<std::string> names;
    RKDir dir;
    for (int found = rk_fs_find_first(&dir, path.c_str()); found != 0;
         found = rk_fs_find_next(&dir))
        names.push_back(Narrow(dir.data.name));
    EXPECT_EQ(dir.data.name[0], 0);
    rk_fs_find_close(&dir);
    EXPECT_EQ(dir.handle, nullptr);
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(Files, FindListsDotEntriesFilesAndDirectoriesAndRefusesMissingOrTooLongPaths) {
    MakeFile("f.txt", "12345");
    MakeDirectory("sub");
    const std::vector<std::string> expected = {".", "..", "f.txt", "sub"};
    EXPECT_EQ(ListedNames(m_root), expected);
    EXPECT_EQ(ListedNames(m_root + kSep), expected);
    RKDir dir;
    for (int found = rk_fs_find_first(&dir, m_root.c_str()); found != 0;
         found = rk_fs_find_next(&dir)) {
        const bool directory = (dir.data.attributes & platform::kFileAttributeDirectory) != 0;
        EXPECT_EQ(directory, Narrow(dir.data.name) != "f.txt") << Narrow(dir.data.name);
        EXPECT_EQ(dir.data.sizeLow, directory ? 0u : 5u) << Narrow(dir.data.name);
    }
    rk_fs_find_close(&dir);
    EXPECT_EQ(rk_fs_find_first(&dir, Path("missing").c_str()), 0);
    EXPECT_EQ(dir.handle, nullptr);
    EXPECT_EQ(dir.data.name[0], 0);
    // "." followed by separators names a real directory; with 259 characters the pattern
    // (path and '*') no longer fits into 260 with its NUL.
    const WText tooLong = W(".") + WText(258, kSep);
    EXPECT_EQ(rk_fs_find_first(&dir, tooLong.c_str()), 0);
    EXPECT_EQ(dir.handle, nullptr);
    EXPECT_EQ(rk_fs_find_first(&dir, tooLong.substr(0, 258).c_str()), 1);
    rk_fs_find_close(&dir);
}

// One callback of a walk.
using Visit = std::pair<int, std::string>; // depth, entry name

// Records the walk; stops it at the entry named stopAt.
struct Recorder {
    std::vector<Visit> visits; // the callbacks in order
    std::string stopAt;        // the entry that sets the stop flag ("" for none)
    int stopDepth = -1;        // the depth it must be met at

    void Record(const RKDir* entry, int depth, int* stop) {
        visits.emplace_back(depth, Narrow(entry->data.name));
        if (visits.back().second == stopAt && depth == stopDepth)
            *stop = 1;
    }
};

int RecordVisit(RKDir* entry, int depth, int* stop, void* context) {
    static_cast<Recorder*>(context)->Record(entry, depth, stop);
    return 0;
}

// The same walk through the class.
class RecordingSearch final : public RK::CSearchDir {
  public:
    Recorder recorder; // what OnFound saw

    void OnFound(const RKDir* entry, int depth, int* stop) override {
        recorder.Record(entry, depth, stop);
    }
};

class Walks : public TempTree {
  protected:
    void SetUp() override {
        TempTree::SetUp();
        MakeFile("top.txt", "t");
        MakeDirectory("sub");
        MakeFile("sub/inner.txt", "i");
        MakeDirectory("sub/deeper");
    }

    // Walks the tree with rk_fs_search and with RK::CSearchDir; both must see the same.
    Recorder Walk(const std::string& stopAt = "", int stopDepth = -1) {
        Recorder recorder{{}, stopAt, stopDepth};
        rk_fs_search(m_root.c_str(), RecordVisit, &recorder);
        EXPECT_EQ(Narrow(CurrentDirectory()), Narrow(m_startDirectory));
        RecordingSearch search;
        search.recorder.stopAt = stopAt;
        search.recorder.stopDepth = stopDepth;
        search.Search(m_root.c_str());
        EXPECT_EQ(search.recorder.visits, recorder.visits);
        return recorder;
    }
};

TEST_F(Walks, EveryEntryAtItsDepthSubtreesRightAfterTheirDirectoryAndStops) {
    Recorder missing;
    rk_fs_search(Path("missing").c_str(), RecordVisit, &missing);
    EXPECT_TRUE(missing.visits.empty());
    const std::vector<Visit> visits = Walk().visits;
    std::vector<Visit> sorted = visits;
    std::sort(sorted.begin(), sorted.end());
    const std::vector<Visit> expected = {{0, "."}, {0, ".."}, {0, "sub"},    {0, "top.txt"},
                                         {1, "."}, {1, ".."}, {1, "deeper"}, {1, "inner.txt"},
                                         {2, "."}, {2, ".."}};
    EXPECT_EQ(sorted, expected);
    const auto sub = std::find(visits.begin(), visits.end(), Visit{0, "sub"});
    ASSERT_NE(sub, visits.end());
    EXPECT_TRUE(std::all_of(sub + 1, sub + 7, [](const Visit& v) { return v.first > 0; }));

    // A stop ends its level and each enclosing level after one more callback: the entries
    // before the stop are those of the full walk; after it, at most the next entry of the
    // root (when "sub" was not the root's last one), and nothing deeper.
    const std::vector<Visit>& all = visits;
    const std::vector<Visit> stopped = Walk("inner.txt", 1).visits;
    const auto stop = std::find(stopped.begin(), stopped.end(), Visit{1, "inner.txt"});
    ASSERT_NE(stop, stopped.end());
    const auto inAll = std::find(all.begin(), all.end(), Visit{1, "inner.txt"});
    EXPECT_TRUE(std::equal(stopped.begin(), stop + 1, all.begin(), inAll + 1));
    const auto subInAll = std::find(all.begin(), all.end(), Visit{0, "sub"});
    const auto nextRoot =
        std::find_if(subInAll + 1, all.end(), [](const Visit& v) { return v.first == 0; });
    std::vector<Visit> after(stop + 1, stopped.end());
    std::vector<Visit> expectedAfter;
    if (nextRoot != all.end())
        expectedAfter.push_back(*nextRoot);
    EXPECT_EQ(after, expectedAfter);
}

TEST_F(Files, RemoveDirectoriesKeepsFilesAndTheirDirectories) {
    MakeDirectory("x");
    MakeDirectory("x/empty");
    MakeDirectory("x/nested");
    MakeDirectory("x/nested/deep");
    MakeDirectory("x/keep");
    MakeFile("x/keep/file.txt", "k");
    rk_fs_rmdirs(Path("x").c_str());
    EXPECT_FALSE(platform::PathExistsW(Path("x/empty").c_str()));
    EXPECT_FALSE(platform::PathExistsW(Path("x/nested").c_str()));
    EXPECT_TRUE(platform::PathExistsW(Path("x/keep/file.txt").c_str()));
    ASSERT_TRUE(platform::DeleteFileW(Path("x/keep/file.txt").c_str()));
    rk_fs_rmdirs(Path("x").c_str());
    EXPECT_FALSE(platform::PathExistsW(Path("x").c_str()));
    rk_fs_rmdirs(Path("x").c_str());
}

} // namespace
