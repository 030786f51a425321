#include "TempTree.h"

#include "platform/sys/FindFile.h"

#include <gtest/gtest.h>

#include <map>
#include <sys/stat.h>

namespace {

// Every entry a listing reports, by name.
std::map<std::string, WIN32_FIND_DATA> List(const std::string& pattern) {
    std::map<std::string, WIN32_FIND_DATA> entries;
    WIN32_FIND_DATA data;
    HFIND search = FindFirstFile(pattern, &data);
    if (!search)
        return entries;
    do {
        entries[data.cFileName] = data;
    } while (FindNextFile(search, &data));
    EXPECT_EQ(FindClose(search), TRUE);
    return entries;
}

bool IsDirectory(const WIN32_FIND_DATA& data) {
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

} // namespace

TEST(FindFile, ListsEveryEntryWithItsKindSizeAndIdentity) {
    TempTree tree;
    tree.File("song.mid", 1234);
    tree.File("big.mid", (std::uint64_t{1} << 32) + 7);
    tree.Dir("sub");
    for (const char* all : {"/*.*", "/*"}) {
        auto entries = List(tree.Root() + all);
        ASSERT_EQ(entries.size(), 3u) << all; // "." and ".." are not reported
        EXPECT_TRUE(IsDirectory(entries["sub"]));
        EXPECT_FALSE(IsDirectory(entries["song.mid"]));
        EXPECT_EQ(entries["song.mid"].nFileSizeLow, 1234u);
        EXPECT_EQ(entries["song.mid"].nFileSizeHigh, 0u);
        EXPECT_EQ(entries["big.mid"].nFileSizeLow, 7u);
        EXPECT_EQ(entries["big.mid"].nFileSizeHigh, 1u);

        struct stat st;
        ASSERT_EQ(stat(tree.Path("sub").c_str(), &st), 0);
        EXPECT_EQ(entries["sub"].nInode, static_cast<std::uint64_t>(st.st_ino));
        EXPECT_EQ(entries["sub"].nDevice, static_cast<std::uint64_t>(st.st_dev));
    }
}

TEST(FindFile, AnotherPatternLooksUpOneEntry) {
    TempTree tree;
    tree.File("a.mid", 5);
    tree.Dir("folder");

    WIN32_FIND_DATA data;
    HFIND search = FindFirstFile(tree.Path("a.mid"), &data);
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(data.cFileName, "a.mid");
    EXPECT_EQ(data.nFileSizeLow, 5u);
    EXPECT_FALSE(IsDirectory(data));
    EXPECT_EQ(FindNextFile(search, &data), FALSE);
    FindClose(search);

    search = FindFirstFile(tree.Path("folder/"), &data);
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(data.cFileName, "folder");
    EXPECT_TRUE(IsDirectory(data));
    FindClose(search);

    search = FindFirstFile("/", &data);
    ASSERT_NE(search, nullptr);
    EXPECT_TRUE(IsDirectory(data));
    FindClose(search);
}

TEST(FindFile, FailsForWhatCannotBeFoundOrListed) {
    TempTree tree;
    tree.File("file.mid");
    WIN32_FIND_DATA data;
    data.cFileName = "untouched";
    EXPECT_EQ(FindFirstFile("", &data), nullptr);
    EXPECT_EQ(FindFirstFile(tree.Path("missing"), &data), nullptr);
    EXPECT_EQ(FindFirstFile(tree.Path("missing/*.*"), &data), nullptr);
    EXPECT_EQ(FindFirstFile(tree.Path("file.mid/*.*"), &data), nullptr);
    EXPECT_EQ(FindFirstFile(tree.Path("file.mid/"), &data), nullptr);
    EXPECT_EQ(FindFirstFile(tree.Dir("empty") + "/*.*", &data), nullptr);
    EXPECT_EQ(FindFirstFile(std::string(kMaxPathBytes, 'a'), &data), nullptr);
    EXPECT_EQ(data.cFileName, "untouched");
    EXPECT_EQ(FindNextFile(nullptr, &data), FALSE);
    EXPECT_EQ(FindClose(nullptr), FALSE);
}

TEST(FindFile, FollowsLinksAndLeavesOutWhatIsNoFileOrFolder) {
    TempTree tree;
    tree.File("real/x.mid", 99);
    tree.Link("to-folder", tree.Path("real"));
    tree.Link("to-file.mid", tree.Path("real/x.mid"));
    tree.Link("dangling.mid", tree.Path("nowhere.mid"));
    ASSERT_EQ(mkfifo(tree.Path("pipe.mid").c_str(), 0644), 0);

    auto entries = List(tree.Root() + "/*.*");
    EXPECT_TRUE(IsDirectory(entries["to-folder"]));
    EXPECT_EQ(entries["to-folder"].nInode, entries["real"].nInode);
    EXPECT_EQ(entries["to-file.mid"].nFileSizeLow, 99u);
    EXPECT_FALSE(IsDirectory(entries["to-file.mid"]));
    EXPECT_EQ(entries.count("dangling.mid"), 0u);
    EXPECT_EQ(entries.count("pipe.mid"), 0u);
    EXPECT_EQ(entries.size(), 3u); // real, to-folder, to-file.mid
}

TEST(FindFile, TheOneDriveIsTheRoot) {
    char buffer[200];
    std::fill(std::begin(buffer), std::end(buffer), 'x');
    EXPECT_EQ(GetLogicalDriveStrings(199, buffer), 2u);
    EXPECT_EQ(std::string(buffer, 3), std::string("/\0\0", 3));

    char small[2] = {'x', 'x'};
    EXPECT_EQ(GetLogicalDriveStrings(2, small), 3u);
    EXPECT_EQ(small[0], 'x');
}
