// The toolkit's heap, ring nodes, temporary names, whole-file reading and writing,
// directory listings, walks and removal, on real temporary trees.
#include "toolkit_support.h"

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
    c.Insert(&b); // a -> b -> c -> a
    EXPECT_EQ(a.GetPrev(), &c);
    EXPECT_EQ(c.GetPrev(), &b);
    b.Detach();
    EXPECT_TRUE(b.IsEmpty());
    EXPECT_EQ(a.GetNext(), &c);
    c.Detach();
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(a.GetPrev(), &a);
}

TEST(TempPath, IsThePlatformsWithItsSeparator) {
    WCHAR expected[platform::kMaxPath];
    ASSERT_GT(platform::GetTempPathW(platform::kMaxPath, expected), 0u);
    EXPECT_EQ(Narrow(rk_fs_tmppath()), Narrow(expected));
}

std::string Hex(unsigned long value) {
    char text[20];
    std::snprintf(text, sizeof text, "%lx", value);
    return text;
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
    for (const Row& row : rows) {
        SCOPED_TRACE(row.start);
        std::string start = row.start + Hex(platform::GetCurrentProcessId());
        std::replace(start.begin(), start.end(), '|', static_cast<char>(kSep));
        const WText prefix = row.prefix != nullptr ? W(row.prefix) : WText();
        const WCHAR* prefixArgument = row.prefix != nullptr ? prefix.c_str() : nullptr;
        WCHAR first[platform::kMaxPath];
        WCHAR second[platform::kMaxPath];
        const int length = rk_fs_tmpfile(first, W(row.dir).c_str(), prefixArgument, 0);
        rk_fs_tmpfile(second, W(row.dir).c_str(), prefixArgument, 0);
        const std::string name = Narrow(first);
        EXPECT_EQ(length, static_cast<int>(name.size()));
        ASSERT_EQ(name.compare(0, start.size(), start), 0) << name;
        const unsigned long counter = std::stoul(name.substr(start.size()), nullptr, 16);
        EXPECT_EQ(name, start + Hex(counter) + ".tmp");
        EXPECT_EQ(Narrow(second), start + Hex(counter + 1) + ".tmp");
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
    EXPECT_EQ(rk_fs_read(second, content), 1);
    EXPECT_EQ(content, "");
    EXPECT_EQ(rk_fs_tmpfile(first, Path("missing").c_str(), nullptr, 1), 0);
}

// Reading replaces data or leaves it alone; writing keeps the tail of a longer file or makes
// a missing one.
TEST_F(Files, ReadAndWriteWholeFiles) {
    std::string data = "keep";
    EXPECT_EQ(rk_fs_read(Path("missing.txt").c_str(), data), 0);
    EXPECT_EQ(data, "keep");
    MakeFile("binary.dat", std::string("a\0\xFF\n", 4));
    MakeFile("empty.dat", "");
    EXPECT_EQ(rk_fs_read(Path("binary.dat").c_str(), data), 1);
    EXPECT_EQ(data, std::string("a\0\xFF\n", 4));
    EXPECT_EQ(rk_fs_read(Path("empty.dat").c_str(), data), 1);
    EXPECT_EQ(data, "");
    MakeFile("ten.txt", "0123456789");
    EXPECT_EQ(rk_fs_write(Path("ten.txt").c_str(), "abc", 3), 3u);
    ASSERT_EQ(rk_fs_read(Path("ten.txt").c_str(), data), 1);
    EXPECT_EQ(data, "abc3456789");
    EXPECT_EQ(rk_fs_write(Path("new.txt").c_str(), "xyz", 3), 3u);
    ASSERT_EQ(rk_fs_read(Path("new.txt").c_str(), data), 1);
    EXPECT_EQ(data, "xyz");
    EXPECT_EQ(rk_fs_write(Path("missing/new.txt").c_str(), "xyz", 3), 0u);
}

// The entries rk_fs_find_first and rk_fs_find_next give for path, sorted: the names of
// directories with a final '/', those of files with ':' and their size.
std::vector<std::string> Listed(const WText& path) {
    std::vector<std::string> entries;
    RKDir dir;
    for (int found = rk_fs_find_first(&dir, path.c_str()); found != 0;
         found = rk_fs_find_next(&dir)) {
        const bool directory = (dir.data.attributes & platform::kFileAttributeDirectory) != 0;
        entries.push_back(Narrow(dir.data.name) +
                          (directory ? "/" : ":" + std::to_string(dir.data.sizeLow)));
    }
    EXPECT_EQ(dir.data.name[0], 0);
    rk_fs_find_close(&dir);
    EXPECT_EQ(dir.handle, nullptr);
    std::sort(entries.begin(), entries.end());
    return entries;
}

TEST_F(Files, FindListsDotEntriesFilesAndDirectoriesAndRefusesMissingOrTooLongPaths) {
    MakeFile("f.txt", "12345");
    MakeDirectory("sub");
    const std::vector<std::string> expected = {"../", "./", "f.txt:5", "sub/"};
    EXPECT_EQ(Listed(m_root), expected);
    EXPECT_EQ(Listed(m_root + kSep), expected);
    RKDir dir;
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

// One callback of a walk: depth and entry name.
using Visit = std::pair<int, std::string>;

// Records a walk, through RK::CSearchDir or handed to rk_fs_search; stops it at stopAt.
class RecordingSearch final : public RK::CSearchDir {
  public:
    void OnFound(const RKDir* entry, int depth, int* stop) override {
        visits.emplace_back(depth, Narrow(entry->data.name));
        if (visits.back() == stopAt)
            *stop = 1;
    }

    std::vector<Visit> visits; // the callbacks in order
    Visit stopAt;              // the callback that sets the stop flag (none by default)
};

int RecordVisit(RKDir* entry, int depth, int* stop, void* context) {
    static_cast<RecordingSearch*>(context)->OnFound(entry, depth, stop);
    return 0;
}

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
    std::vector<Visit> Walk(const Visit& stopAt = {}) {
        RecordingSearch viaFunction;
        viaFunction.stopAt = stopAt;
        rk_fs_search(m_root.c_str(), RecordVisit, &viaFunction);
        RecordingSearch viaClass;
        viaClass.stopAt = stopAt;
        viaClass.Search(m_root.c_str());
        EXPECT_EQ(viaClass.visits, viaFunction.visits);
        return viaClass.visits;
    }
};

TEST_F(Walks, EveryEntryAtItsDepthSubtreesRightAfterTheirDirectoryAndStops) {
    RecordingSearch missing;
    rk_fs_search(Path("missing").c_str(), RecordVisit, &missing);
    EXPECT_TRUE(missing.visits.empty());
    const std::vector<Visit> all = Walk();
    std::vector<Visit> sorted = all;
    std::sort(sorted.begin(), sorted.end());
    const std::vector<Visit> expected = {{0, "."}, {0, ".."}, {0, "sub"},    {0, "top.txt"},
                                         {1, "."}, {1, ".."}, {1, "deeper"}, {1, "inner.txt"},
                                         {2, "."}, {2, ".."}};
    ASSERT_EQ(sorted, expected);
    const auto sub = std::find(all.begin(), all.end(), Visit{0, "sub"});
    EXPECT_TRUE(std::all_of(sub + 1, sub + 7, [](const Visit& v) { return v.first > 0; }));

    // A stop ends its level and each enclosing level after one more callback: the entries of
    // the full walk up to the stop, then the root's next entry when "sub" was not its last.
    const auto inner = std::find(all.begin(), all.end(), Visit{1, "inner.txt"});
    std::vector<Visit> stopped(all.begin(), inner + 1);
    const auto nextRoot =
        std::find_if(inner, all.end(), [](const Visit& v) { return v.first == 0; });
    if (nextRoot != all.end())
        stopped.push_back(*nextRoot);
    EXPECT_EQ(Walk({1, "inner.txt"}), stopped);
}

TEST_F(Files, RemoveDirectoriesKeepsFilesAndTheirDirectories) {
    MakeDirectory("x");
    MakeDirectory("x/nested");
    MakeDirectory("x/nested/deep");
    MakeDirectory("x/keep");
    MakeFile("x/keep/file.txt", "k");
    rk_fs_rmdirs(Path("x").c_str());
    EXPECT_FALSE(platform::PathExistsW(Path("x/nested").c_str()));
    EXPECT_TRUE(platform::PathExistsW(Path("x/keep/file.txt").c_str()));
    ASSERT_TRUE(platform::DeleteFileW(Path("x/keep/file.txt").c_str()));
    rk_fs_rmdirs(Path("x").c_str());
    EXPECT_FALSE(platform::PathExistsW(Path("x").c_str()));
}

} // namespace
