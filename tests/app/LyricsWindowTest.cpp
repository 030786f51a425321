// The lyrics window on the headless player: opened from the window's menu, kept open across runs,
// hidden with the main window, and its mark keeping time with the song through Pause, seeks,
// Next, intro mode and Stop.

#include "AppFixture.h"
#include "app/LyricsDlg.h"

#include <fstream>
#include <iterator>

namespace {

struct Sung {
    std::uint32_t ms;
    std::string text;
};

// "Twinkle, twinkle" over six seconds of notes: a verse of two lines, then a second verse whose
// last syllable comes after the last note.
const std::vector<Sung> kTwinkle = {{0, "\\Twin"},  {500, "kle, "}, {1000, "twin"}, {1500, "kle "},
                                    {2000, "/lit"}, {2500, "tle "}, {3000, "star"}, {4000, "\\How "},
                                    {4500, "I "},   {5000, "won"},  {6200, "der"}};

class LyricsWindowTest : public AppTest {
protected:
    // A song whose words are in lyric events on a track of their own.
    void AddKaraoke(const std::string& name, std::uint32_t lengthMs, const std::vector<Sung>& words) {
        mcitest::SmfBuilder song(1, 1000);
        int notes = song.AddTrack();
        song.Add(notes, 0, mcitest::Tempo(1000000));
        for (std::uint32_t at = 0; at + 500 <= lengthMs; at += 1000)
            song.Add(notes, at, mcitest::NoteOn(0, 60, 100)).Add(notes, at + 500, mcitest::NoteOff(0, 60));
        int lyrics = song.AddTrack();
        for (const Sung& s : words) {
            mcitest::Bytes event = {0xFF, 0x05, static_cast<std::uint8_t>(s.text.size())};
            event.insert(event.end(), s.text.begin(), s.text.end());
            song.Add(lyrics, s.ms, event);
        }
        song.EndAt(notes, lengthMs).WriteTo(SongsFolder() + "/" + name);
    }

    CMainDlg& StartShown(const std::string& settings = "") {
        Settings("Autoplay=0\nPlayStile=1\n" + settings);
        return Restart();
    }
    // Starts again with the profile the last run wrote.
    CMainDlg& Restart() {
        Start();
        Dialog().ShowWindow(SW_SHOW);
        m_backend.Advance(5); // the start-up tick
        return Dialog();
    }
    CLyricsDlg& Lyrics() { return *Dialog().m_pLyricsDlg; }
    void Menu() {
        PostMessage(Dialog().GetSafeHwnd(), WM_SYSCOMMAND, IDM_LYRICS, 0);
        m_backend.RunPending();
    }
    bool Open() { return Lyrics().IsWindowVisible(); }
    bool Checked() { return Dialog().SystemMenuCheckOf(IDM_LYRICS).checked; }
    std::string Shown() { return std::string(Lyrics().m_words.GetPlace().current); }
    std::string SungSoFar() {
        const CLyricsCtrl::Place place = Lyrics().m_words.GetPlace();
        return std::string(place.current.substr(0, place.sungInCurrent));
    }
    std::string Next() { return std::string(Lyrics().m_words.GetPlace().next); }
    void Scroll(UINT code, UINT pos) {
        PostMessage(Dialog().GetSafeHwnd(), WM_HSCROLL,
                    MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(pos)), IDC_SLIDER);
        m_backend.RunPending();
    }
    std::string Profile() {
        std::ifstream in(ProfileFile());
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

TEST_F(LyricsWindowTest, TheMarkKeepsTimeThroughPauseSeeksNextAndStop) {
    AddKaraoke("a.kar", 6000, kTwinkle);
    AddSong("b.mid", 3000);
    StartShown();
    Menu();
    ASSERT_TRUE(Open());
    EXPECT_EQ(Lyrics().GetWindowText(), "Shufflon Lyrics");
    EXPECT_EQ(Lyrics().m_words.GetWindowText(), "");
    EXPECT_EQ(Lyrics().m_words.GetNote(), "The words of a karaoke song show here while it plays.");

    Click(IDC_PLAY);
    EXPECT_EQ(Lyrics().m_words.GetWindowText(), "Twinkle, twinkle\nlittle star\n\nHow I wonder");
    EXPECT_EQ(Shown(), "Twinkle, twinkle");
    EXPECT_EQ(SungSoFar(), "Twin"); // sung as the song starts
    EXPECT_EQ(Next(), "little star");
    m_backend.Advance(1050);
    EXPECT_EQ(SungSoFar(), "Twinkle, twin");

    // Paused 10 ms after "tle" is sung, before the window next looks: the mark is where the song
    // paused, and stays there however long the pause.
    m_backend.Advance(1460);
    Click(IDC_PAUSE);
    EXPECT_EQ(Shown(), "little star");
    EXPECT_EQ(SungSoFar(), "little ");
    EXPECT_EQ(Next(), "How I wonder");
    m_backend.Advance(5000);
    EXPECT_EQ(SungSoFar(), "little ");
    Click(IDC_PAUSE);
    m_backend.Advance(300);
    EXPECT_EQ(SungSoFar(), "little ");
    m_backend.Advance(200);
    EXPECT_EQ(SungSoFar(), "little star");

    // The slider's seeks, forward into the next verse and back to the first line.
    Scroll(TB_THUMBPOSITION, 4);
    m_backend.Advance(CLyricsDlg::kFollowPeriod);
    EXPECT_EQ(Shown(), "How I wonder");
    EXPECT_EQ(SungSoFar(), "How ");
    Scroll(TB_THUMBPOSITION, 1);
    m_backend.Advance(CLyricsDlg::kFollowPeriod);
    EXPECT_EQ(Shown(), "Twinkle, twinkle");
    EXPECT_EQ(SungSoFar(), "Twinkle, twin");

    // Next: a song without words, then this one again from its start; Stop clears the window.
    Click(IDC_NEXT);
    m_backend.Advance(600);
    EXPECT_EQ(Text(IDC_SONGNAME), "b.mid");
    EXPECT_EQ(Lyrics().m_words.GetWindowText(), "");
    EXPECT_EQ(Lyrics().m_words.GetNote(), "This song has no words.");
    Click(IDC_NEXT);
    m_backend.Advance(600);
    EXPECT_EQ(Text(IDC_SONGNAME), "a.kar");
    EXPECT_EQ(Shown(), "Twinkle, twinkle");
    Click(IDC_PLAY);
    EXPECT_EQ(Lyrics().m_words.GetWindowText(), "");
    EXPECT_EQ(Lyrics().m_words.GetNote(), "The words of a karaoke song show here while it plays.");

    // Played to its end outside a play run, so that nothing follows it: the last syllable, sung
    // after the last note, is marked too.
    Dialog().m_list.RowChosenByUser(0);
    PostMessage(Dialog().GetSafeHwnd(), WM_NOTIFY, IDC_SONGLIST, static_cast<LPARAM>(NM_DBLCLK));
    m_backend.RunPending();
    Scroll(TB_THUMBPOSITION, 5);
    m_backend.Advance(1500);
    EXPECT_FALSE(DeviceOpen());
    EXPECT_EQ(SungSoFar(), "How I wonder");
}

TEST_F(LyricsWindowTest, IntroModeMovesTheWordsOnWithTheSong) {
    AddKaraoke("a.kar", 6500, kTwinkle);
    AddKaraoke("b.kar", 4000, {{0, "Row "}, {1000, "row "}, {2000, "your "}, {3000, "boat"}});
    StartShown("Intro=1\nIntroLength=1");
    Menu();
    Click(IDC_PLAY);
    m_backend.Advance(1700);
    EXPECT_EQ(Text(IDC_SONGNAME), "b.kar");
    EXPECT_EQ(Shown(), "Row row your boat");
    EXPECT_EQ(SungSoFar(), "Row ");
}

TEST_F(LyricsWindowTest, TheMenuItemTheCloseBoxHideAndTheProfileAgree) {
    AddKaraoke("a.kar", 6500, kTwinkle);
    StartShown();
    EXPECT_FALSE(Open());
    EXPECT_FALSE(Checked());
    Menu();
    EXPECT_TRUE(Open());
    EXPECT_TRUE(Checked());
    Menu();
    EXPECT_FALSE(Open());
    EXPECT_FALSE(Checked());

    // Opened, it hides with the main window and comes back with it from the tray.
    Menu();
    Click(IDC_HIDE);
    EXPECT_FALSE(Dialog().IsWindowVisible());
    EXPECT_FALSE(Open());
    EXPECT_TRUE(Checked());
    PostMessage(Dialog().GetSafeHwnd(), WM_TRAYNOTIFY, IDC_TRAYICON, WM_RBUTTONDOWN);
    m_backend.RunPending();
    EXPECT_TRUE(Dialog().IsWindowVisible());
    EXPECT_TRUE(Open());

    // Left open at close, it opens again at the next start, after every other key.
    Dialog().SendMessage(WM_CLOSE);
    std::string profile = Profile();
    EXPECT_EQ(profile.substr(profile.find("Volume="), 24), "Volume=100\nShowLyrics=1\n");
    Restart();
    EXPECT_TRUE(Open());
    EXPECT_TRUE(Checked());

    // Its close box and Escape close it as the menu does; a start hidden keeps it for the tray.
    PostMessage(Lyrics().GetSafeHwnd(), WM_CLOSE, 0, 0);
    m_backend.RunPending();
    EXPECT_FALSE(Open());
    EXPECT_FALSE(Checked());
    Menu();
    PostMessage(Lyrics().GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0);
    m_backend.RunPending();
    EXPECT_FALSE(Open());
    StartShown("RunHidden=1\nShowLyrics=1");
    EXPECT_FALSE(Dialog().IsWindowVisible());
    EXPECT_FALSE(Open());
    EXPECT_TRUE(Checked());
    PostMessage(Dialog().GetSafeHwnd(), WM_TRAYNOTIFY, IDC_TRAYICON, WM_RBUTTONDOWN);
    m_backend.RunPending();
    EXPECT_TRUE(Open());
}

} // namespace
