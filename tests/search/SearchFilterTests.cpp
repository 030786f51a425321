#include "SearchHarness.h"

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

namespace {

struct Update {
    std::string folder, directories, files, size;
};

std::vector<UINT> Messages(const MainStandIn& window) {
    std::vector<UINT> messages;
    for (const MSG& msg : window.received)
        messages.push_back(msg.message);
    return messages;
}

} // namespace

class SearchFilterTest : public SearchTest {
protected:
    // Posts a paint message at every directory entered; the walk takes it at that directory's
    // sample and the main window, painting, reads what the progress window shows at that moment.
    void RecordUpdates(ScriptedSearch& engine) {
        engine.onEnter = [&](const std::string&) { main.PostMessage(WM_PAINT); };
        main.onMessage = [&](UINT message) {
            if (message != WM_PAINT || !engine.m_pProgressDlg)
                return;
            CSearchProgressDlg& dialog = *engine.m_pProgressDlg;
            EXPECT_TRUE(dialog.IsWindowVisible());
            updates.push_back(
                {dialog.GetDlgItemText(IDC_SEARCH_FOLDER), dialog.GetDlgItemText(IDC_SEARCH_DIRECTORIES),
                 dialog.GetDlgItemText(IDC_SEARCH_FILES), dialog.GetDlgItemText(IDC_SEARCH_SIZE)});
        };
    }

    // Two subfolders of the chosen folder, each holding three songs of 1000 bytes.
    void MakeTwoFolders() {
        for (const char* folder : {"p", "q"}) {
            for (const char* song : {"/1.mid", "/2.mid", "/3.mid"})
                tree.File(std::string(folder) + song, 1000);
        }
    }

    std::vector<Update> updates;
};

TEST_F(SearchFilterTest, EachUpdateShowsTheFolderEnteredWithTheCountsBeforeItsFiles) {
    MakeTwoFolders();
    ScriptedSearch engine;
    RecordUpdates(engine);
    ASSERT_EQ(Run(engine, tree.Root()), 0);

    ASSERT_EQ(updates.size(), 3u);
    EXPECT_EQ(updates[0].folder, tree.Root());
    EXPECT_EQ(updates[0].directories, "1");
    EXPECT_EQ(updates[0].files, "0");
    EXPECT_EQ(updates[0].size, "0 kB");
    EXPECT_THAT((std::vector{updates[1].folder, updates[2].folder}),
                UnorderedElementsAre(tree.Path("p"), tree.Path("q")));
    EXPECT_EQ(updates[1].directories, "2");
    EXPECT_EQ(updates[1].files, "0");
    EXPECT_EQ(updates[2].directories, "3");
    EXPECT_EQ(updates[2].files, "3");
    EXPECT_EQ(updates[2].size, "2 kB"); // 3000 bytes, kilobytes truncated
    EXPECT_EQ(engine.m_nFiles, 6);
    EXPECT_EQ(engine.m_nDirs, 3);
    EXPECT_EQ(backend.Beeps(), 0);
}

TEST_F(SearchFilterTest, WithoutSubfoldersTheOneUpdateShowsTheChosenFolderOnly) {
    tree.File("a.mid", 5000);
    tree.File("b.mid", 5000);
    tree.Dir("sub");
    ScriptedSearch engine;
    RecordUpdates(engine);
    ASSERT_EQ(Run(engine, tree.Root(), false), 0);
    ASSERT_EQ(updates.size(), 1u);
    EXPECT_EQ(updates[0].folder, tree.Root());
    EXPECT_EQ(updates[0].directories, "1");
    EXPECT_EQ(updates[0].files, "0");
    EXPECT_EQ(updates[0].size, "0 kB");
    EXPECT_EQ(engine.m_nDirs, 1);
    EXPECT_EQ(engine.m_nFiles, 2);
}

TEST_F(SearchFilterTest, TheTotalAndTheProgressFigureWrapModulo2To32) {
    // Each folder's songs add up to 2^32 + 3079 bytes; whichever folder comes second shows the
    // first one's wrapped total.
    for (const char* folder : {"p/", "q/"}) {
        tree.File(std::string(folder) + "a.mid", 0xFFFFFC00u);
        tree.File(std::string(folder) + "b.mid", 0x1000u);
        tree.File(std::string(folder) + "c.mid", (std::uint64_t{1} << 32) + 7);
    }
    ScriptedSearch engine;
    RecordUpdates(engine);
    ASSERT_EQ(Run(engine, tree.Root()), 0);
    EXPECT_EQ(engine.m_dwTotalSize, 2u * 3079u);
    ASSERT_EQ(updates.size(), 3u);
    EXPECT_EQ(updates[2].size, "3 kB");
    std::vector<Row> rows = Rows();
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0].size, "4294966272 B"); // a.mid
    EXPECT_EQ(rows[4].name, "c.mid");
    EXPECT_EQ(rows[4].size, "7 B"); // the low 32 bits of 2^32 + 7
}

TEST_F(SearchFilterTest, TheWindowIsCentredShownAndGoneAfterwards) {
    tree.File("a.mid");
    ScriptedSearch engine;
    HWND progress = 0;
    engine.onEnter = [&](const std::string&) {
        ASSERT_NE(engine.m_pProgressDlg, nullptr);
        progress = engine.m_pProgressDlg->GetSafeHwnd();
        EXPECT_TRUE(engine.m_pProgressDlg->IsWindowVisible());
        EXPECT_EQ(engine.m_pProgressDlg->GetWindowText(), "Searching directory structure");
    };
    ASSERT_EQ(Run(engine, tree.Root()), 0);
    EXPECT_EQ(backend.CenterCount(), 1);
    EXPECT_NE(progress, 0u);
    EXPECT_EQ(CWnd::FromHandle(progress), nullptr);
    EXPECT_EQ(engine.m_pProgressDlg, nullptr);
}

TEST_F(SearchFilterTest, AClickForAnotherWindowBeepsIsLostAndTheFocusReturns) {
    MakeTwoFolders();
    ScriptedSearch engine;
    HWND progress = 0;
    int entered = 0;
    engine.onEnter = [&](const std::string&) {
        progress = engine.m_pProgressDlg->GetSafeHwnd();
        if (++entered == 1)
            main.PostMessage(WM_COMMAND, MAKEWPARAM(1000, BN_CLICKED), 0);
        else if (entered == 2)
            main.PostMessage(WM_LBUTTONDOWN, 0, 0);
    };
    ASSERT_EQ(Run(engine, tree.Root()), 0);
    EXPECT_EQ(backend.Beeps(), 2);
    EXPECT_TRUE(main.received.empty());
    EXPECT_EQ(backend.FocusedWindow(), progress);
    EXPECT_EQ(QueuedMessageCount(), 0u);
    EXPECT_EQ(engine.m_nFiles, 6);
}

TEST_F(SearchFilterTest, OtherMessagesForOtherWindowsAreDroppedSilently) {
    tree.File("a.mid");
    ScriptedSearch engine;
    HWND progress = 0;
    engine.onEnter = [&](const std::string&) {
        progress = engine.m_pProgressDlg->GetSafeHwnd();
        main.PostMessage(WM_TIMER, 1234, 0);
    };
    ASSERT_EQ(Run(engine, tree.Root()), 0);
    EXPECT_EQ(backend.Beeps(), 0);
    EXPECT_TRUE(main.received.empty());
    EXPECT_EQ(backend.FocusedWindow(), progress);
}

TEST_F(SearchFilterTest, PaintMessagesForAnyWindowPass) {
    MakeTwoFolders();
    ScriptedSearch engine;
    int entered = 0;
    engine.onEnter = [&](const std::string&) {
        ++entered;
        main.PostMessage(entered == 2 ? WM_DRAWITEM : WM_PAINT);
    };
    ASSERT_EQ(Run(engine, tree.Root()), 0);
    EXPECT_THAT(Messages(main), ElementsAre(WM_PAINT, WM_DRAWITEM, WM_PAINT));
    EXPECT_EQ(backend.Beeps(), 0);
    EXPECT_EQ(backend.FocusedWindow(), 0u);
}

TEST_F(SearchFilterTest, WithoutSubfoldersOneMessageIsTakenAndTheRestWaitsForTheLoop) {
    tree.File("a.mid");
    tree.File("sub/b.mid");
    ScriptedSearch engine;
    engine.onEnter = [&](const std::string&) {
        main.PostMessage(WM_COMMAND, MAKEWPARAM(1000, BN_CLICKED), 0);
        main.PostMessage(WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), 0);
    };
    ASSERT_EQ(Run(engine, tree.Root(), false), 0);
    EXPECT_EQ(backend.Beeps(), 1);
    EXPECT_TRUE(main.received.empty());
    ASSERT_EQ(QueuedMessageCount(), 1u);

    backend.RunPending();
    ASSERT_EQ(main.received.size(), 1u);
    EXPECT_EQ(main.received[0].wParam, MAKEWPARAM(1001, BN_CLICKED));
}

TEST_F(SearchFilterTest, ClosingTheWindowStopsTheWalkAndKeepsTheRowsSoFar) {
    for (const char* folder : {"d1", "d2", "d3", "d4"}) {
        tree.File(std::string(folder) + "/x.mid", 1);
        tree.File(std::string(folder) + "/y.mid", 1);
    }
    ScriptedSearch engine;
    engine.onEnter = [&](const std::string&) {
        // The close request arrives while the second subfolder is entered; the window's default
        // turns it into its cancel command, which the walk takes at the next folder.
        if (engine.entered.size() == 3)
            engine.m_pProgressDlg->PostMessage(WM_CLOSE);
    };
    EXPECT_EQ(Run(engine, tree.Root()), -1);
    EXPECT_TRUE(engine.m_bAbort);
    EXPECT_EQ(engine.m_nFiles, 4);
    EXPECT_EQ(main.List().GetItemCount(), 4);
    EXPECT_EQ(engine.m_nDirs, 5); // folders met while the walk unwinds still count
    std::vector<std::string> listed;
    for (const Row& row : Rows())
        listed.push_back(row.folder);
    EXPECT_THAT(listed, UnorderedElementsAre(engine.entered[1] + "/", engine.entered[1] + "/",
                                             engine.entered[2] + "/", engine.entered[2] + "/"));
    EXPECT_EQ(engine.m_pProgressDlg, nullptr);
}

TEST_F(SearchFilterTest, TheCancelCommandStopsTheWalkAtTheFolderThatTakesIt) {
    for (const char* folder : {"d1", "d2", "d3"})
        tree.File(std::string(folder) + "/x.mid", 1);
    ScriptedSearch engine;
    engine.onEnter = [&](const std::string&) {
        if (engine.entered.size() == 3) // Escape: the cancel command itself
            engine.m_pProgressDlg->PostMessage(WM_COMMAND, IDCANCEL, 0);
    };
    EXPECT_EQ(Run(engine, tree.Root()), -1);
    EXPECT_EQ(engine.m_nFiles, 1);
    EXPECT_EQ(engine.m_nDirs, 4);
}

TEST_F(SearchFilterTest, AClosedWindowBeforeTheWalkStartsStopsTheSearchToo) {
    tree.File("a.mid");
    tree.File("sub/b.mid");
    ScriptedSearch engine;
    // While the window is being drawn every message is dispatched, so the close request reaches
    // the dialog's own cancel handling rather than the walk's filter.
    main.SetTimer(7, 10);
    main.onMessage = [&](UINT message) {
        if (message == WM_TIMER && engine.m_pProgressDlg) {
            main.KillTimer(7);
            engine.m_pProgressDlg->PostMessage(WM_CLOSE);
        }
    };
    EXPECT_EQ(Run(engine, tree.Root()), -1);
    EXPECT_EQ(engine.m_nFiles, 0);
    EXPECT_EQ(main.List().GetItemCount(), 0);
    EXPECT_THAT(Messages(main), ElementsAre(WM_TIMER));
}
