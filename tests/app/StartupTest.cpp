#include "AppFixture.h"

#include <sstream>

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST_F(AppTest, StartInAnEmptyFolderShowsTheEmptyState) {
    CMainDlg& dialog = Start();
    EXPECT_EQ(dialog.m_list.GetItemCount(), 0);
    EXPECT_EQ(Text(IDC_SONGCOUNT), "0");
    EXPECT_EQ(Text(IDC_SONGSIZE), "0 kB");
    EXPECT_EQ(Text(IDC_STATUS), "Ready");
    EXPECT_EQ(Text(IDC_SONGNAME), "");
    EXPECT_EQ(Text(IDC_SONGFOLDER), "");
    EXPECT_EQ(Text(IDC_ELAPSED), "0");
    EXPECT_EQ(Text(IDC_LENGTH), "0");
    // The search's true counts replace the template's placeholder, in the counter's own format.
    EXPECT_EQ(Text(IDC_PLAYEDCOUNT), "Played/unplayed: 0 / 0");
    EXPECT_EQ(Text(IDC_FOLDER), SongsFolder());
    EXPECT_FALSE(Enabled(IDC_PLAY));
    EXPECT_FALSE(Enabled(IDC_NEXT));
    EXPECT_FALSE(Enabled(IDC_PAUSE));
    EXPECT_TRUE(m_backend.Boxes().empty());
    EXPECT_TRUE(m_backend.TrayState().present);
    EXPECT_EQ(m_backend.TrayState().iconId, IDI_IDLE);
    EXPECT_EQ(m_backend.TrayState().tip, "Shufflon");
    EXPECT_EQ(m_backend.TrayState().callbackMessage, WM_TRAYNOTIFY);
    EXPECT_TRUE(TimerRunning(IDT_PROGRESS));
    EXPECT_TRUE(TimerRunning(IDT_STARTUP));
    EXPECT_EQ(dialog.m_slider.GetRangeMax(), 100);
    EXPECT_EQ(dialog.m_slider.GetPageSize(), 10);
    ASSERT_EQ(dialog.m_list.Columns().size(), 3u);
    EXPECT_EQ(dialog.m_list.Columns()[1].heading, "Folder");
    EXPECT_EQ(dialog.m_list.Columns()[1].width, 230);
    EXPECT_EQ(dialog.m_list.ImageList(LVSIL_SMALL), (std::vector<int>{IDI_UNPLAYED, IDI_PLAYED}));
    EXPECT_EQ(dialog.GetIcon(), IDI_HEADPHONES);
}

TEST_F(AppTest, SystemMenuEndsWithAboutAndTheSoundFontsAndHasNoSize) {
    CMainDlg& dialog = Start();
    const auto& menu = dialog.SystemMenu();
    ASSERT_GE(menu.size(), 4u);
    EXPECT_EQ(menu[menu.size() - 3].id, IDM_ABOUTBOX);
    EXPECT_EQ(menu[menu.size() - 3].text, "&About Shufflon...");
    EXPECT_EQ(menu[menu.size() - 4].id, 0u);
    EXPECT_EQ(menu[menu.size() - 2].text, "SoundFont...");
    EXPECT_EQ(menu.back().text, "Default SoundFont");
    for (const SystemMenuItem& item : menu) {
        EXPECT_NE(item.id, SC_SIZE);
        if (item.id == SC_MAXIMIZE) {
            EXPECT_TRUE(item.grayed);
        }
    }
}

TEST_F(AppTest, EnterAndEscapeDoNotEndTheRun) {
    CMainDlg& dialog = Start();
    PostMessage(dialog.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    PostMessage(dialog.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    m_backend.RunPending();
    EXPECT_FALSE(std::filesystem::exists(ProfileFile()));
    EXPECT_TRUE(m_backend.TrayState().present);
}

TEST_F(AppTest, CloseWritesTheTwelveKeysAndOursInOrderAndRemovesTheTray) {
    Start();
    Dialog().SetClientSize(700, 500);
    PostMessage(Dialog().GetSafeHwnd(), WM_CLOSE, 0, 0);
    m_backend.RunPending();
    std::string home = HomeFolder();
    EXPECT_EQ(ReadFile(ProfileFile()), "[SHFConfig]\nAutoplay=1\nIntro=0\nIntroLength=20\nPlayStile=0\n"
                                       "Subfolders=1\nAllowRepetition=1\nSaveFolder=" +
                                           home +
                                           "/BESTMIDI\nRunHidden=0\nSCInitMode=0\nSCInitFile=\n"
                                           "DeleteFolder=" +
                                           home +
                                           "/BADMIDI\nUseTaglist=0\nSoundFont=\nWindowWidth=700\n"
                                           "WindowHeight=500\nVolume=100\n");
    EXPECT_FALSE(m_backend.TrayState().present);
    EXPECT_FALSE(TimerRunning(IDT_PROGRESS));
}

TEST_F(AppTest, StoredSettingsAreReadAsTheyStand) {
    Settings("Autoplay=0\nPlayStile=2\nSCInitMode=5\nSaveFolder=\nIntroLength=junk\nAllowRepetition=0");
    CMainDlg& dialog = Start();
    EXPECT_EQ(dialog.m_bAutoplay, 0);
    EXPECT_EQ(dialog.m_nPlayStyle, 2);
    EXPECT_EQ(dialog.m_nSCInitMode, 5);
    EXPECT_EQ(dialog.m_strSaveFolder, "");
    EXPECT_EQ(dialog.m_nIntroLength, 0);
    EXPECT_EQ(dialog.m_bAllowRepetition, 0);
    EXPECT_EQ(dialog.m_bSubfolders, 1);
}

TEST_F(AppTest, AutoplayStartsTheFirstSongBeforeTheWindowAppears) {
    AddSong("one.mid", 3000);
    AddSong("two.mid", 3000);
    CMainDlg& dialog = Start();
    EXPECT_TRUE(dialog.m_bPlaying);
    EXPECT_EQ(Text(IDC_PLAY), "Stop");
    EXPECT_TRUE(Enabled(IDC_PAUSE));
    EXPECT_EQ(Text(IDC_SONGCOUNT), "2");
    EXPECT_EQ(m_backend.TrayState().iconId, IDI_HEADPHONES);
    EXPECT_EQ(m_backend.TrayState().tip, Text(IDC_SONGNAME));
    EXPECT_EQ(Text(IDC_LENGTH), "00:03");
    EXPECT_TRUE(DeviceOpen());
}

TEST_F(AppTest, ShowCurrentSongSplitsNameAndShortenedFolder) {
    CMainDlg& dialog = Start();
    dialog.ShowCurrentSong("/songs/rock/A.MID");
    EXPECT_EQ(Text(IDC_SONGFOLDER), "/songs/rock");
    EXPECT_EQ(Text(IDC_SONGNAME), "A.MID");
    EXPECT_EQ(m_backend.TrayState().tip, "A.MID");
    dialog.ShowCurrentSong("/A.MID");
    EXPECT_EQ(Text(IDC_SONGFOLDER), "/");
    dialog.ShowCurrentSong("/d/songs/pop/1996/summer_hits/dance/remixes/X.MID");
    EXPECT_EQ(Text(IDC_SONGFOLDER), "/d/songs/pop/1996/summer_hits/.../remixes");
    dialog.ShowCurrentSong("/songs/" + std::string(70, 'n') + ".mid");
    EXPECT_EQ(m_backend.TrayState().tip, std::string(63, 'n'));
    dialog.ShowCurrentSong("");
    EXPECT_EQ(Text(IDC_SONGFOLDER), "");
    EXPECT_EQ(Text(IDC_SONGNAME), "");
    EXPECT_EQ(m_backend.TrayState().tip, "Shufflon");
    EXPECT_EQ(dialog.m_strCurrentFile, "");
}

TEST(ShortenPath, CountsCharactersAndCutsWholeFolders) {
    std::string e = "\xC3\xA9"; // é: two bytes, one character
    // 39 characters in 43 bytes: it fits.
    std::string accented = "/songs/" + e + e + e + "/" + std::string(25, 'a') + "/x" + e;
    // Bytes that are no valid UTF-8 count one each, even where they look like a sequence.
    std::string overlong;
    for (int i = 0; i < 6; ++i)
        overlong += "\xC0\xAF";
    std::string stray = "/songs/" + overlong + "/" + std::string(20, 'b') + "/last";
    struct Case {
        std::string path;
        std::size_t maximum;
        std::string expected;
    } cases[] = {
        {"/songs/pop/1996/summer_hits/dance/remixes", 41, "/songs/pop/1996/summer_hits/dance/remixes"},
        {"/d/songs/pop/1996/summer_hits/dance/remixes", 41, "/d/songs/pop/1996/summer_hits/.../remixes"},
        {"/e/a_very_long_folder_name_without_any_breaks_in_it", 41,
         ".../a_very_long_folder_name_without_any_breaks_in_it"},
        {std::string(50, 'x'), 41, std::string(50, 'x')},
        {"/" + std::string(40, 'y'), 41, "/" + std::string(40, 'y')},
        {accented, 41, accented},
        {"/dd" + accented, 41, "/dd/songs/" + e + e + e + "/.../x" + e},
        {stray, 41, "/songs/" + overlong + "/.../last"},
        {"/" + e + e + "/" + e + e + e + "/" + std::string(40, 'c'), 30, ".../" + std::string(40, 'c')},
        {"/" + e + e + "/" + e + e + e + "/" + e + e + "/" + std::string(10, 'c'), 20,
         "/" + e + e + "/.../" + std::string(10, 'c')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ShortenPath(c.path, c.maximum), c.expected);
    }
}

TEST_F(AppTest, TheSongFolderIsTheWholeDirectoryShortenedToFitItsLabel) {
    CMainDlg& dialog = Start();
    // A folder longer than the 255 bytes a Windows path part had: its last folder is shown.
    std::string deep;
    for (int level = 0; level < 150; ++level)
        deep += "/f" + std::to_string(level);
    dialog.ShowCurrentSong(deep + "/song.mid");
    EXPECT_EQ(Text(IDC_SONGFOLDER), ShortenPath(deep, 41));
    EXPECT_EQ(Text(IDC_SONGFOLDER).substr(Text(IDC_SONGFOLDER).size() - 5), "/f149");

    // Letters wider than the average: fewer of them fit, and the same rule takes out more folders.
    m_backend.SetCharacterWidth(6);
    dialog.ShowCurrentSong(deep + "/song.mid");
    std::string shown = Text(IDC_SONGFOLDER);
    EXPECT_LE(shown.size() * 6, 178u);
    EXPECT_EQ(shown, ShortenPath(deep, 29));
    m_backend.SetCharacterWidth(40);
    dialog.ShowCurrentSong(deep + "/song.mid");
    EXPECT_EQ(Text(IDC_SONGFOLDER), ".../f149"); // the last folder is never cut
    dialog.ShowCurrentSong("/ab/cd/song.mid");
    EXPECT_EQ(Text(IDC_SONGFOLDER), "/ab/cd"); // never made longer than the folder itself
}

TEST_F(AppTest, StartHiddenHidesAtTheFirstTick) {
    Settings("RunHidden=1\nAutoplay=0");
    CMainDlg& dialog = Start();
    dialog.ShowWindow(SW_SHOW);
    m_backend.Advance(1);
    EXPECT_FALSE(dialog.IsWindowVisible());
    EXPECT_FALSE(TimerRunning(IDT_STARTUP));
    PostMessage(dialog.GetSafeHwnd(), WM_TRAYNOTIFY, IDC_TRAYICON, WM_RBUTTONDOWN);
    m_backend.RunPending();
    EXPECT_TRUE(dialog.IsWindowVisible());
}

TEST_F(AppTest, WithoutATrayHidingMinimisesSoTheWindowCanComeBack) {
    m_backend.SetTrayAvailable(false);
    Settings("RunHidden=1\nAutoplay=0");
    CMainDlg& dialog = Start();
    dialog.ShowWindow(SW_SHOW);
    m_backend.Advance(1);
    EXPECT_TRUE(dialog.IsWindowVisible());
    EXPECT_TRUE(dialog.IsIconic());
    dialog.ShowWindow(SW_RESTORE);
    Click(IDC_HIDE);
    EXPECT_TRUE(dialog.IsWindowVisible());
    EXPECT_TRUE(dialog.IsIconic());
}

TEST_F(AppTest, WithoutStartHiddenTheStartupTimerOnlyStopsItself) {
    CMainDlg& dialog = Start();
    dialog.ShowWindow(SW_SHOW);
    m_backend.Advance(1);
    EXPECT_TRUE(dialog.IsWindowVisible());
    EXPECT_FALSE(TimerRunning(IDT_STARTUP));
    EXPECT_TRUE(TimerRunning(IDT_PROGRESS));
}

} // namespace
