#include "SearchHarness.h"

#include <cstdio>

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

TEST_F(SearchTest, FolderThatCannotBeSearchedGivesMinusOneWithoutAWindow) {
    tree.File("song.mid");
    for (const std::string& folder : {std::string(), tree.Path("missing"), tree.Path("song.mid")}) {
        CDirStruct engine;
        EXPECT_EQ(Run(engine, folder), -1) << folder;
        EXPECT_EQ(engine.m_nDirs, 0);
        EXPECT_EQ(engine.m_pRoot, nullptr);
    }
    EXPECT_EQ(backend.CenterCount(), 0);
    EXPECT_EQ(main.List().GetItemCount(), 0);
}

TEST_F(SearchTest, SongsAreMidRmiAndKarInAnyCase) {
    for (const char* name :
         {"SONG.MID", "a.Rmi", "b.kar", ".mid", "c.midi", "d.mid.bak", "e", "f.", "g.mid.", "h.mi"})
        tree.File(name, 10);

    CDirStruct engine;
    ASSERT_EQ(Run(engine, tree.Root()), 0);
    // The list sorts by name without regard to case; ".mid" is a song with an empty name.
    EXPECT_THAT(Names(), ElementsAre(".mid", "a.Rmi", "b.kar", "SONG.MID"));
    EXPECT_EQ(engine.m_nFiles, 4);
    EXPECT_EQ(engine.m_dwTotalSize, 40u);
    EXPECT_EQ(engine.m_nDirs, 1);
}

TEST_F(SearchTest, RowsCarryNameFolderSizeAndAnUnplayedMark) {
    tree.File("top.mid", 34567);
    tree.File("Rock/empty.kar", 0);
    tree.File("Rock/Live/encore.rmi", 7);

    CDirStruct engine;
    ASSERT_EQ(Run(engine, tree.Root()), 0);
    EXPECT_THAT(Rows(), ElementsAre(Row{"empty.kar", tree.Root() + "/Rock/", "0 B", 0},
                                    Row{"encore.rmi", tree.Root() + "/Rock/Live/", "7 B", 0},
                                    Row{"top.mid", tree.Root() + "/", "34567 B", 0}));
    for (int r = 0; r < main.List().GetItemCount(); ++r)
        EXPECT_EQ(main.List().GetItemImage(r), 0);
    EXPECT_EQ(engine.m_nFiles, 3);
    EXPECT_EQ(engine.m_nDirs, 3);
    EXPECT_EQ(engine.m_dwTotalSize, 34574u);
}

TEST_F(SearchTest, ATrailingSlashOfTheChosenFolderIsNotDoubled) {
    tree.File("a.mid");
    tree.File("sub/b.mid");
    CDirStruct engine;
    ASSERT_EQ(Run(engine, tree.Root() + "/"), 0);
    EXPECT_THAT(Rows(), ElementsAre(Row{"a.mid", tree.Root() + "/", "0 B", 0},
                                    Row{"b.mid", tree.Root() + "/sub/", "0 B", 0}));
}

TEST_F(SearchTest, WithoutSubfoldersOnlyTheChosenFolderIsRead) {
    tree.File("here.mid");
    tree.File("below/there.mid");
    CDirStruct engine;
    ASSERT_EQ(Run(engine, tree.Root(), false), 0);
    EXPECT_THAT(Names(), ElementsAre("here.mid"));
    EXPECT_EQ(engine.m_nDirs, 1);
    ASSERT_NE(engine.m_pRoot, nullptr);
    EXPECT_EQ(engine.m_pRoot->m_pChild, nullptr);
}

TEST_F(SearchTest, FoldersStartingWithADotAreSkippedButSuchFilesAndChosenFoldersAreNot) {
    tree.File("music/.hidden/secret.mid");
    tree.File("music/..weird/odd.mid");
    tree.File("music/.dotted.mid");
    tree.File(".chosen/inside.mid");

    CDirStruct engine;
    ASSERT_EQ(Run(engine, tree.Path("music")), 0);
    EXPECT_THAT(Names(), ElementsAre(".dotted.mid"));
    EXPECT_EQ(engine.m_nDirs, 1);

    main.List().DeleteAllItems();
    ASSERT_EQ(Run(engine, tree.Path(".chosen")), 0);
    EXPECT_THAT(Names(), ElementsAre("inside.mid"));
}

TEST_F(SearchTest, AnEmptyFolderCompletesWithZeroCounts) {
    CDirStruct engine;
    EXPECT_EQ(Run(engine, tree.Root()), 0);
    EXPECT_EQ(engine.m_nFiles, 0);
    EXPECT_EQ(engine.m_nDirs, 1);
    EXPECT_EQ(engine.m_dwTotalSize, 0u);
    EXPECT_EQ(backend.CenterCount(), 1); // the window was shown and taken down all the same
}

TEST_F(SearchTest, TheTreeRecordsEveryFolderEnteredAndASecondSearchStartsAfresh) {
    tree.File("a/x.mid", 1);
    tree.File("a/deep/y.mid", 1);
    tree.File("b/z.mid", 1);

    CDirStruct engine;
    ASSERT_EQ(Run(engine, tree.Root()), 0);
    const DirNode* root = engine.m_pRoot;
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->m_strPath, tree.Root());
    EXPECT_EQ(root->m_pParent, nullptr);
    std::vector<std::string> children;
    for (const DirNode* child = root->m_pChild; child; child = child->m_pNext) {
        EXPECT_EQ(child->m_pParent, root);
        children.push_back(child->m_strPath);
        if (child->m_strPath == tree.Path("a")) {
            ASSERT_NE(child->m_pChild, nullptr);
            EXPECT_EQ(child->m_pChild->m_strPath, tree.Path("a/deep"));
            EXPECT_EQ(child->m_pChild->m_pParent, child);
        }
    }
    EXPECT_THAT(children, UnorderedElementsAre(tree.Path("a"), tree.Path("b")));

    main.List().DeleteAllItems();
    ASSERT_EQ(Run(engine, tree.Path("b")), 0);
    EXPECT_EQ(engine.m_nFiles, 1);
    EXPECT_EQ(engine.m_nDirs, 1);
    EXPECT_EQ(engine.m_dwTotalSize, 1u);
    EXPECT_EQ(engine.m_pRoot->m_strPath, tree.Path("b"));
    EXPECT_EQ(engine.m_pRoot->m_pChild, nullptr);
}

TEST_F(SearchTest, BackslashesAreOrdinaryCharactersOfNames) {
    tree.File("dir\\/a\\b.mid");
    CDirStruct engine;
    ASSERT_EQ(Run(engine, tree.Root()), 0);
    EXPECT_THAT(Rows(), ElementsAre(Row{"a\\b.mid", tree.Root() + "/dir\\/", "0 B", 0}));
}

TEST_F(SearchTest, NamesThatAreNotUtf8AreListedAsTheirBytesAndStillOpen) {
    const std::string name = "Ca\xe7\xe3o \xff.MID"; // Latin-1, not UTF-8
    tree.File("latin/" + name, 3);
    CDirStruct engine;
    ASSERT_EQ(Run(engine, tree.Root()), 0);
    ASSERT_THAT(Names(), ElementsAre(name));
    std::string path = main.List().GetItemText(0, 1) + main.List().GetItemText(0, 0);
    FILE* file = std::fopen(path.c_str(), "rb");
    EXPECT_NE(file, nullptr) << path;
    if (file)
        std::fclose(file);
}

TEST_F(SearchTest, SongsInTheRootGetTheFolderTextSlash) {
    WIN32_FIND_DATA entry;
    entry.cFileName = "rootsong.mid";
    entry.nFileSizeLow = 12;
    CDirStruct engine;
    engine.m_pList = &main.List();
    engine.AddFile("/", entry);
    EXPECT_THAT(Rows(), ElementsAre(Row{"rootsong.mid", "/", "12 B", 0}));
}

// Reads only the root's own entries: every folder found in it is noted, not walked.
class RootLister : public CDirStruct {
public:
    void ScanDirectory(DirNode* node, const std::string& path) override {
        if (node->m_pParent == nullptr)
            CDirStruct::ScanDirectory(node, path);
        else
            paths.push_back(path);
    }
    void AddFile(const std::string&, const WIN32_FIND_DATA&) override {}
    std::vector<std::string> paths;
};

TEST_F(SearchTest, TheRootIsSearchedWithoutADoubledSlash) {
    RootLister engine;
    ASSERT_EQ(Run(engine, "/"), 0);
    ASSERT_FALSE(engine.paths.empty());
    for (const std::string& path : engine.paths) {
        EXPECT_EQ(path.rfind("/", 0), 0u) << path;
        EXPECT_NE(path.substr(0, 2), "//") << path;
        EXPECT_EQ(path.find('/', 1), std::string::npos) << path;
    }
}

TEST_F(SearchTest, PathsLongerThanTheOldLimitKeepTheirWholeFolderText) {
    // Four levels of 200-byte names: far past 260 characters, and each folder part past 255.
    std::string relative;
    for (char c : {'a', 'b', 'c', 'd'})
        relative += std::string(200, c) + "/";
    tree.File(relative + "long.mid", 1);

    CDirStruct engine;
    ASSERT_EQ(Run(engine, tree.Root()), 0);
    EXPECT_THAT(Rows(), ElementsAre(Row{"long.mid", tree.Root() + "/" + relative, "1 B", 0}));
}

TEST_F(SearchTest, SongsWhosePathTheSystemWouldRefuseAreLeftOut) {
    // A folder just short of the system's limit, holding one song whose whole path still fits
    // and one whose path does not.
    std::size_t want = kMaxPathBytes - 40 - (tree.Root().size() + 1);
    std::string relative;
    while (want - relative.size() > 101)
        relative += std::string(100, 'x') + "/";
    relative += std::string(want - relative.size(), 'z');
    std::string folder = tree.Dir(relative);
    ASSERT_EQ(folder.size(), kMaxPathBytes - 40);
    std::string fits = "s.mid";
    std::string tooLong = std::string(60, 'y') + ".mid";
    ASSERT_GE(folder.size() + 1 + tooLong.size(), kMaxPathBytes);
    for (const std::string& name : {fits, tooLong}) {
        int dir = open(folder.c_str(), O_DIRECTORY | O_RDONLY);
        ASSERT_GE(dir, 0);
        int fd = openat(dir, name.c_str(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0) << name;
        close(fd);
        close(dir);
    }

    CDirStruct engine;
    ASSERT_EQ(Run(engine, tree.Root()), 0);
    EXPECT_THAT(Rows(), ElementsAre(Row{fits, folder + "/", "0 B", 0}));
}
