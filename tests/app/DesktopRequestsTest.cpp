// What reaches the main window from outside it: a song named on the command line, a folder or
// song handed over by a second start, a notification area that comes late or goes, and the
// window's size and counts as the desktop shows them.

#include "AppFixture.h"
#include "platform/sys/OpenRequests.h"
#include "platform/ui/Shell.h"
#include "songlist/TagFile.h"

namespace {

class DesktopRequestsTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        for (const char* name : {"a.mid", "b.mid", "c.mid", "d.mid"})
            AddSong(name, 3000);
        std::filesystem::create_directories(m_root / "other");
        WriteSong(OtherFolder() + "/x.mid", 3000);
    }
    std::string OtherFolder() const { return (m_root / "other").string(); }
    void HandOver(const std::string& path) {
        RequestOpen(path);
        PostMessage(Dialog().GetSafeHwnd(), WM_OPENREQUEST, 0, 0);
        m_backend.RunPending();
    }
};

TEST_F(DesktopRequestsTest, ASongNamedAtTheStartPlaysFirstWhateverAutoplaySays) {
    for (const char* settings : {"Autoplay=1\nPlayStile=0", "Autoplay=0\nPlayStile=1"}) {
        SCOPED_TRACE(settings);
        Settings(settings);
        RequestOpen(SongsFolder() + "/c.mid");
        CMainDlg& dialog = Start();
        EXPECT_EQ(Text(IDC_SONGNAME), "c.mid");
        EXPECT_TRUE(dialog.m_bPlaying);
        EXPECT_EQ(Text(IDC_PLAY), "Stop");
        EXPECT_EQ(Text(IDC_PLAYEDCOUNT), "Played/unplayed: 1 / 3");
        EXPECT_FALSE(TakeOpenRequest());
        // The run goes on from there as from any other song.
        m_backend.Advance(3600);
        EXPECT_TRUE(DeviceOpen());
        EXPECT_TRUE(dialog.m_bPlaying);
        dialog.SendMessage(WM_CLOSE);
    }
}

TEST_F(DesktopRequestsTest, AHandedOverFolderIsPlayedAsBrowseWouldAndTheWindowComesBack) {
    Settings("UseTaglist=1\nPlayStile=1");
    CMainDlg& dialog = Start();
    EXPECT_EQ(Text(IDC_SONGNAME), "a.mid");
    Click(IDC_PAUSE);
    dialog.ShowWindow(SW_HIDE);
    HandOver(OtherFolder());
    EXPECT_TRUE(dialog.IsWindowVisible());
    EXPECT_EQ(Text(IDC_FOLDER), OtherFolder());
    EXPECT_EQ(Text(IDC_SONGNAME), "x.mid") << "Autoplay plays from the new folder";
    EXPECT_EQ(Text(IDC_PAUSE), "Pause") << "the paused song was given up";
    EXPECT_TRUE(std::filesystem::exists(m_root / "songs" / "MIDITags.SHF"))
        << "the old folder's marks were saved";
}

TEST_F(DesktopRequestsTest, AHandedOverSongPlaysFromTheListOrFromItsFolder) {
    Settings("Autoplay=0\nPlayStile=1");
    CMainDlg& dialog = Start();
    dialog.ShowWindow(SW_MINIMIZE);
    Click(IDC_PLAY);
    EXPECT_EQ(Text(IDC_SONGNAME), "a.mid");
    // A song of the list plays at once, and the list with its marks stays.
    HandOver(SongsFolder() + "/d.mid");
    EXPECT_FALSE(dialog.IsIconic());
    EXPECT_EQ(Text(IDC_SONGNAME), "d.mid");
    EXPECT_TRUE(dialog.IsPlayed(0));
    EXPECT_EQ(Text(IDC_PLAYEDCOUNT), "Played/unplayed: 2 / 2");
    // A song elsewhere brings its folder.
    HandOver(OtherFolder() + "/x.mid");
    EXPECT_EQ(Text(IDC_FOLDER), OtherFolder());
    EXPECT_EQ(Text(IDC_SONGNAME), "x.mid");
    EXPECT_TRUE(dialog.m_bPlaying);
    // Nothing but the window: it comes back, and the song plays on.
    dialog.ShowWindow(SW_HIDE);
    HandOver("");
    EXPECT_TRUE(dialog.IsWindowVisible());
    EXPECT_EQ(Text(IDC_SONGNAME), "x.mid");
    EXPECT_TRUE(DeviceOpen());
}

TEST_F(DesktopRequestsTest, ALateTrayGetsTheIconAndOneThatGoesGivesTheHiddenWindowBack) {
    m_backend.SetTrayAvailable(false);
    Settings("PlayStile=1");
    CMainDlg& dialog = Start();
    EXPECT_FALSE(m_backend.TrayState().present);
    Click(IDC_HIDE);
    EXPECT_TRUE(dialog.IsIconic()) << "without a tray, Hide minimises";

    m_backend.SetTrayAvailable(true);
    PostMessage(dialog.GetSafeHwnd(), WM_TASKBARCREATED, 0, 0);
    m_backend.RunPending();
    EXPECT_TRUE(m_backend.TrayState().present);
    EXPECT_EQ(m_backend.TrayState().iconId, IDI_HEADPHONES) << "the icon shows the song playing";
    EXPECT_EQ(m_backend.TrayState().tip, "a.mid");
    dialog.ShowWindow(SW_RESTORE);
    Click(IDC_HIDE);
    EXPECT_FALSE(dialog.IsWindowVisible());

    m_backend.SetTrayAvailable(false);
    PostMessage(dialog.GetSafeHwnd(), WM_TASKBARGONE, 0, 0);
    m_backend.RunPending();
    EXPECT_TRUE(dialog.IsWindowVisible());
    Click(IDC_HIDE);
    EXPECT_TRUE(dialog.IsIconic());
}

TEST_F(DesktopRequestsTest, TheWindowsSizeComesBackAndNeverBelowTheTemplate) {
    Settings("WindowWidth=900\nWindowHeight=600");
    CMainDlg& dialog = Start();
    EXPECT_EQ(dialog.ClientWidth(), 900);
    EXPECT_EQ(dialog.ClientHeight(), 600);
    dialog.SendMessage(WM_CLOSE);
    Settings("WindowWidth=10\nWindowHeight=10");
    Start();
    EXPECT_EQ(Dialog().ClientWidth(), 300 * 6 / 4);
    EXPECT_EQ(Dialog().ClientHeight(), 164 * 13 / 8);
}

TEST_F(DesktopRequestsTest, NoToTheAllPlayedQuestionAtStartLeavesTrueCounts) {
    Settings("AllowRepetition=0\nUseTaglist=1");
    std::ofstream tags(m_root / "songs" / "MIDITags.SHF", std::ios::binary);
    for (const char* name : {"a.mid", "b.mid", "c.mid", "d.mid"}) {
        std::string record(kTagRecordSize, '\0');
        record[0] = 1;
        record.replace(4, SongsFolder().size() + 6, SongsFolder() + "/" + name);
        tags << record;
    }
    tags.close();
    m_backend.AnswerNextBox(IDNO);
    Start();
    ASSERT_EQ(m_backend.Boxes().size(), 1u);
    EXPECT_EQ(Text(IDC_PLAYEDCOUNT), "Played/unplayed: 4 / 0");
}

} // namespace
