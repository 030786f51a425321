// The SoundFont commands of the window's menu: the chooser, the load's outcome, the check mark
// and the profile key that keeps the choice for the next run.

#include "AppFixture.h"
#include "TinySoundFont.h"

namespace {

class SoundFontMenuTest : public AppTest {
protected:
    // Chooses the file (or cancels with nullopt) from the menu and lets the load finish.
    void Choose(std::optional<std::string> path, UINT command = IDM_SOUNDFONT) {
        m_backend.AnswerNextFileBrowse(std::move(path));
        PostMessage(Dialog().GetSafeHwnd(), WM_SYSCOMMAND, command, 0);
        m_backend.RunPending();
        mci::WaitForSoundFont();
        m_backend.RunPending();
    }

    bool Checked(UINT id) { return Dialog().SystemMenuCheckOf(id).checked; }

    std::string Profile() {
        std::ifstream in(ProfileFile());
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

TEST_F(SoundFontMenuTest, AChosenSoundFontIsCheckedKeptAfterTheTwelveKeysAndReadBack) {
    const std::string chosen = SongsFolder() + "/Piano.SF2";
    mcitest::WriteTinySoundFont(chosen, mcitest::Waveform::Square);
    Start();
    EXPECT_TRUE(Checked(IDM_DEFAULTSOUNDFONT));
    Choose(chosen);
    ASSERT_EQ(m_backend.FileBrowses().size(), 1u);
    const auto& filters = m_backend.FileBrowses()[0].filters;
    ASSERT_FALSE(filters.empty());
    EXPECT_EQ(filters[0].patterns, (std::vector<std::string>{"*.sf2", "*.sf3"}));
    // The chooser starts among the system's SoundFonts, then where the chosen one lies.
    const std::string system = mci::SystemSoundFontPath();
    EXPECT_EQ(m_backend.FileBrowses()[0].folder, system.substr(0, system.rfind('/')));
    EXPECT_TRUE(m_backend.Boxes().empty());
    EXPECT_EQ(Dialog().m_strSoundFont, chosen);
    EXPECT_TRUE(Checked(IDM_SOUNDFONT));
    EXPECT_EQ(Dialog().SystemMenuCheckOf(IDM_SOUNDFONT).tip, chosen);
    EXPECT_FALSE(Checked(IDM_DEFAULTSOUNDFONT));

    Dialog().SendMessage(WM_CLOSE);
    const std::string text = Profile();
    EXPECT_EQ(text.substr(text.find("UseTaglist="), text.find("WindowWidth=") - text.find("UseTaglist=")),
              "UseTaglist=0\nSoundFont=" + chosen + "\n");
    Start();
    EXPECT_EQ(Dialog().m_strSoundFont, chosen);
    EXPECT_TRUE(Checked(IDM_SOUNDFONT));
    Choose(std::nullopt);
    EXPECT_EQ(m_backend.FileBrowses().back().folder, SongsFolder());

    Choose(std::nullopt, IDM_DEFAULTSOUNDFONT);
    EXPECT_EQ(Dialog().m_strSoundFont, "");
    EXPECT_TRUE(Checked(IDM_DEFAULTSOUNDFONT));
}

TEST_F(SoundFontMenuTest, AnUnusableFileGivesABoxAndACancelChangesNothing) {
    const std::string good = SongsFolder() + "/good.sf2";
    mcitest::WriteTinySoundFont(good, mcitest::Waveform::Sine);
    const std::string bad = SongsFolder() + "/bad.sf2";
    std::ofstream(bad) << "RIFF....WAVE";
    Start();
    Choose(good);
    Choose(std::nullopt);
    Choose(bad);
    ASSERT_EQ(m_backend.Boxes().size(), 1u);
    EXPECT_NE(m_backend.Boxes()[0].text.find("not a SoundFont"), std::string::npos)
        << m_backend.Boxes()[0].text;
    EXPECT_EQ(Dialog().m_strSoundFont, good);
    EXPECT_TRUE(Checked(IDM_SOUNDFONT));
}

} // namespace
