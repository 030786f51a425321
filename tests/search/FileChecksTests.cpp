#include "SearchHarness.h"
#include "TempTree.h"

#include "platform/ui/Shell.h"
#include "search/FileChecks.h"
#include "search/PumpMessages.h"

#include <gtest/gtest.h>

TEST(IsValidFolder, AcceptsTheRootAndExistingFoldersOnly) {
    TempTree tree;
    tree.Dir("music");
    tree.File("song.mid");
    tree.Link("link", tree.Path("music"));

    EXPECT_TRUE(IsValidFolder("/"));
    EXPECT_TRUE(IsValidFolder(tree.Path("music")));
    EXPECT_TRUE(IsValidFolder(tree.Path("music/")));
    EXPECT_TRUE(IsValidFolder(tree.Path("link")));

    EXPECT_FALSE(IsValidFolder(""));
    EXPECT_FALSE(IsValidFolder(tree.Path("missing")));
    EXPECT_FALSE(IsValidFolder(tree.Path("song.mid")));
    EXPECT_FALSE(IsValidFolder(tree.Path("song.mid/")));
}

TEST(FileExists, TrueForFilesOnly) {
    TempTree tree;
    tree.File("song.mid");
    tree.Dir("folder");
    tree.Link("link.mid", tree.Path("song.mid"));
    tree.Link("dangling.mid", tree.Path("gone.mid"));

    EXPECT_TRUE(FileExists(tree.Path("song.mid")));
    EXPECT_TRUE(FileExists(tree.Path("link.mid")));

    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FileExists(tree.Path("folder")));
    EXPECT_FALSE(FileExists("/"));
    EXPECT_FALSE(FileExists(tree.Path("missing.mid")));
    EXPECT_FALSE(FileExists(tree.Path("dangling.mid")));
}

class PumpMessagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        main.Create();
        other.Create();
    }
    HeadlessBackend backend;
    MainStandIn main;
    MainStandIn other;
};

TEST_F(PumpMessagesTest, DispatchesEveryMessageForTheWholeTime) {
    backend.SetClock(1000);
    main.PostMessage(WM_COMMAND, MAKEWPARAM(1000, BN_CLICKED), 0);
    other.PostMessage(WM_TIMER, 1234, 0);
    // A message posted while the pump runs is dispatched too.
    main.onMessage = [&](UINT message) {
        if (message == WM_COMMAND)
            other.PostMessage(WM_KEYDOWN, 27, 0);
    };

    PumpMessages(50);

    EXPECT_EQ(GetTickCount() - 1000, 50u);
    ASSERT_EQ(main.received.size(), 1u);
    ASSERT_EQ(other.received.size(), 2u);
    EXPECT_EQ(other.received[0].message, WM_TIMER);
    EXPECT_EQ(other.received[1].message, WM_KEYDOWN);
    EXPECT_EQ(QueuedMessageCount(), 0u);
}

TEST_F(PumpMessagesTest, WaitsTheFullTimeAcrossTheWrapOfTheTickCount) {
    backend.SetClock(0xFFFFFFF0u);
    PumpMessages(50);
    EXPECT_EQ(static_cast<DWORD>(GetTickCount() - 0xFFFFFFF0u), 50u);
}
