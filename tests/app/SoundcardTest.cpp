#include "AppFixture.h"

#include "platform/mci/MidiSink.h"

#include <algorithm>
#include <functional>

namespace {

// The initialisation file sounds one note of its own, so what the synthesiser heard tells how
// often it played.
constexpr int kInitKey = 72;

// A sink that counts the initialisation file's notes and lets a test look at the program while
// the file plays.
class InitWatchSink final : public mci::MidiSink {
public:
    void ShortMessage(std::uint8_t status, std::uint8_t key, std::uint8_t velocity) override {
        if (key != kInitKey || (status & 0xE0) != 0x80)
            return;
        bool on = (status & 0xF0) == 0x90 && velocity != 0;
        if (on)
            ++plays;
        if (onNote)
            onNote(on);
    }
    void SystemExclusive(std::span<const std::uint8_t>) override {}
    void Render(float* left, float* right, std::size_t frames) override {
        std::fill(left, left + frames, 0.0f);
        std::fill(right, right + frames, 0.0f);
    }

    int plays = 0;
    std::function<void(bool on)> onNote;
};

class SoundcardTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        auto sink = std::make_unique<InitWatchSink>();
        m_sink = sink.get();
        mci::UseOfflineOutput(std::move(sink));
        AddSong("a.mid", 3000);
        AddSong("b.mid", 2000);
        AddSong("c.mid", 4000);
        mcitest::SmfBuilder init(0, 1000);
        int track = init.AddTrack();
        init.Add(track, 0, mcitest::Tempo(1000000))
            .Add(track, 0, mcitest::NoteOn(0, kInitKey, 100))
            .Add(track, 500, mcitest::NoteOff(0, kInitKey));
        init.EndAt(track, 1000).WriteTo(InitFile());
    }
    std::string InitFile() const { return (m_root / "init.mid").string(); }
    CMainDlg& StartWith(int mode, const std::string& file) {
        Settings("Autoplay=0\nPlayStile=1\nSCInitMode=" + std::to_string(mode) + "\nSCInitFile=" + file);
        return Start();
    }
    void DoubleClick(int row) {
        Dialog().m_list.RowChosenByUser(row);
        PostMessage(Dialog().GetSafeHwnd(), WM_NOTIFY, IDC_SONGLIST, static_cast<LPARAM>(NM_DBLCLK));
        m_backend.RunPending();
    }

    InitWatchSink* m_sink = nullptr;
};

TEST_F(SoundcardTest, ModesDecideWhenTheFilePlays) {
    // Plays counted after: start, Play, the end of a song, Next, intro, Pause and Resume, a double click.
    struct Case {
        int mode;
        std::vector<int> plays;
    } cases[] = {{0, {0, 0, 0, 0, 0, 0, 0}},
                 {1, {1, 1, 1, 1, 1, 1, 1}},
                 {2, {1, 2, 3, 4, 5, 5, 5}},
                 {5, {1, 2, 3, 4, 5, 5, 5}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        std::vector<int> plays;
        CMainDlg& dialog = StartWith(c.mode, InitFile());
        plays.push_back(m_sink->plays);
        Click(IDC_PLAY);
        plays.push_back(m_sink->plays);
        m_backend.Advance(3600); // a.mid ends, b.mid follows
        plays.push_back(m_sink->plays);
        Click(IDC_NEXT);
        m_backend.Advance(500); // c.mid
        plays.push_back(m_sink->plays);
        dialog.m_bIntro = TRUE;
        dialog.m_nIntroLength = 1;
        m_backend.Advance(1500); // cut after a second: a.mid
        dialog.m_bIntro = FALSE;
        plays.push_back(m_sink->plays);
        Click(IDC_PAUSE);
        Click(IDC_PAUSE);
        plays.push_back(m_sink->plays);
        DoubleClick(1);
        plays.push_back(m_sink->plays);
        EXPECT_EQ(plays, c.plays);
        EXPECT_TRUE(m_backend.Boxes().empty());
        EXPECT_TRUE(DeviceOpen());
        m_dialog->SendMessage(WM_CLOSE);
        m_sink->plays = 0;
    }
}

TEST_F(SoundcardTest, EachFailureHasItsBoxBeforeEverySongAndTheSongStillPlays) {
    std::ofstream(m_root / "junk.mid") << "not a song";
    struct Case {
        std::string file;
        std::string text;
    } cases[] = {
        {"", "Soundcard Init is on, but no initialization file defined!"},
        {(m_root / "gone.mid").string(), "Soundcard initialization file does not exist!"},
        {m_root.string(), "Soundcard initialization file does not exist!"}, // a folder is no file
        {(m_root / "junk.mid").string(), "Cannot initialize soundcard!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        std::size_t before = m_backend.Boxes().size();
        StartWith(2, c.file);
        m_backend.AnswerNextBox([&](const HeadlessBackend::Box&) {
            EXPECT_FALSE(TimerRunning(IDT_PROGRESS)); // no tick runs inside the box
            return IDOK;
        });
        Click(IDC_PLAY);
        ASSERT_EQ(m_backend.Boxes().size(), before + 2); // at start and before the song
        for (std::size_t i = before; i < before + 2; ++i) {
            EXPECT_EQ(m_backend.Boxes()[i].text, c.text);
            EXPECT_EQ(m_backend.Boxes()[i].caption, "Shufflon");
            EXPECT_EQ(m_backend.Boxes()[i].style, MB_ICONINFORMATION);
        }
        EXPECT_EQ(Text(IDC_SONGNAME), "a.mid");
        EXPECT_TRUE(DeviceOpen());
        EXPECT_EQ(m_sink->plays, 0);
        m_dialog->SendMessage(WM_CLOSE);
    }
}

TEST_F(SoundcardTest, WithoutTheMapperTheFileIsSkippedSilentlyAndOnlyTheSongAsks) {
    mci::SetPortForTesting(0);
    StartWith(2, InitFile());
    EXPECT_TRUE(m_backend.Boxes().empty());
    Click(IDC_PLAY);
    ASSERT_EQ(m_backend.Boxes().size(), 1u);
    EXPECT_EQ(m_backend.Boxes()[0].text, "The MIDI mapper is not available. Continue?");
    EXPECT_EQ(m_sink->plays, 0);
    EXPECT_EQ(Text(IDC_SONGNAME), "a.mid");
}

TEST_F(SoundcardTest, NothingElseIsHandledWhileTheFilePlays) {
    CMainDlg& dialog = StartWith(2, InitFile());
    dialog.ShowWindow(SW_HIDE);
    bool handledDuringTheFile = true;
    std::string nameDuringTheFile;
    m_sink->onNote = [&](bool on) {
        if (on) {
            // Input that arrives now waits until the file has played.
            PostMessage(dialog.GetSafeHwnd(), WM_TRAYNOTIFY, IDC_TRAYICON, WM_RBUTTONDOWN);
        } else {
            handledDuringTheFile = dialog.IsWindowVisible();
            nameDuringTheFile = Text(IDC_SONGNAME);
        }
    };
    Click(IDC_PLAY);
    EXPECT_EQ(m_sink->plays, 2);
    EXPECT_FALSE(handledDuringTheFile);
    EXPECT_EQ(nameDuringTheFile, "Initializing soundcard");
    EXPECT_TRUE(dialog.IsWindowVisible()); // handled once the file had played
    EXPECT_EQ(Text(IDC_SONGNAME), "a.mid");
}

} // namespace
