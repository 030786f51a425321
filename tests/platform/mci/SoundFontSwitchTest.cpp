// Choosing another SoundFont during the run, on offline rendering: the song playing finishes with
// the SoundFont it began with, the next song sounds with the new one, and a file that is not a
// usable SoundFont is refused with its reason while the current one stays.

#include <filesystem>
#include <fstream>
#include <mutex>

#include "DeviceFixture.h"
#include "TinySoundFont.h"
#include "platform/mci/SoundFontLoad.h"

namespace mcitest {
namespace {

constexpr UINT kLoadedMessage = WM_APP + 1;
constexpr std::size_t kFrames = 22050;

std::mutex g_mutex;
std::vector<std::pair<WPARAM, LPARAM>> g_loads;

void RecordLoad(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window == kWindow && message == kLoadedMessage) {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_loads.emplace_back(wParam, lParam);
    }
    RecordNotice(window, message, wParam, lParam);
}

class SoundFontSwitchTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        mci::SetNotifySink(RecordLoad);
        m_sine = m_dir.Path("sine.sf2");
        m_square = m_dir.Path("square.SF2");
        WriteTinySoundFont(m_sine, Waveform::Sine);
        WriteTinySoundFont(m_square, Waveform::Square);
        std::lock_guard<std::mutex> lock(g_mutex);
        g_loads.clear();
    }

    void UseSoundFont(const std::string& path) {
        mci::LoadedSoundFont loaded = mci::LoadSoundFontSynth(path);
        ASSERT_TRUE(loaded.synth) << mci::DescribeSoundFontProblem(loaded.problem);
        mci::UseOfflineOutput(std::move(loaded.synth));
    }

    // Asks for the SoundFont and returns what the device answered: wParam and lParam.
    std::pair<WPARAM, LPARAM> Change(const std::string& path) {
        mci::ChangeSoundFont(path, kWindow, kLoadedMessage);
        mci::WaitForSoundFont();
        std::lock_guard<std::mutex> lock(g_mutex);
        EXPECT_EQ(g_loads.size(), 1u);
        return g_loads.empty() ? std::pair<WPARAM, LPARAM>{99, 99} : std::exchange(g_loads, {}).back();
    }

    std::vector<float> Render(std::size_t frames) {
        std::vector<float> left(frames), right(frames);
        mci::RenderOffline(left.data(), right.data(), frames);
        return left;
    }

    // Opens the standard song, plays it and renders its first frames.
    std::vector<float> PlaySong(MCIDEVICEID& id) {
        id = OpenSong();
        EXPECT_EQ(Err(PlayNotify(id)), Err(0));
        return Render(kFrames);
    }

    std::vector<float> FreshRendering(const std::string& soundFont) {
        UseSoundFont(soundFont);
        MCIDEVICEID id = 0;
        auto first = PlaySong(id);
        auto more = Render(kFrames);
        first.insert(first.end(), more.begin(), more.end());
        Close(id);
        return first;
    }

    std::string m_sine, m_square;
};

TEST_F(SoundFontSwitchTest, TheNextSongSoundsWithTheNewSoundFontAndThePlayingOneDoesNot) {
    const auto sine = FreshRendering(m_sine);
    const auto square = FreshRendering(m_square);
    ASSERT_NE(sine, square);

    UseSoundFont(m_sine);
    MCIDEVICEID id = 0;
    auto playing = PlaySong(id);
    EXPECT_EQ(Change(m_square), (std::pair<WPARAM, LPARAM>{1, 0}));
    const auto more = Render(kFrames);
    playing.insert(playing.end(), more.begin(), more.end());
    EXPECT_EQ(playing, sine) << "the song playing changed its SoundFont";
    // Closing and opening another song swaps the new one in (a song opened while another device
    // still plays would not).
    ASSERT_EQ(Err(Close(id)), Err(0));
    auto next = PlaySong(id);
    const auto nextMore = Render(kFrames);
    next.insert(next.end(), nextMore.begin(), nextMore.end());
    EXPECT_EQ(next, square);
}

TEST_F(SoundFontSwitchTest, AFileThatIsNotAUsableSoundFontIsRefusedAndTheCurrentOneStays) {
    const auto sine = FreshRendering(m_sine);
    const auto bytes = TinySoundFont(Waveform::Square);
    auto write = [&](const std::string& name, const std::vector<std::uint8_t>& content) {
        const std::string path = m_dir.Path(name);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(content.data()),
                   static_cast<std::streamsize>(content.size()));
        return path;
    };
    std::vector<std::uint8_t> damaged = bytes;
    // The preset table's name ("pdta" LIST) broken: the header and the length still say SoundFont.
    for (std::size_t i = 0; i + 4 <= damaged.size(); ++i)
        if (std::string(damaged.begin() + static_cast<long>(i), damaged.begin() + static_cast<long>(i) + 4) ==
            "pdta")
            damaged[i] = 'x';
    const std::vector<std::uint8_t> wave = {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'};
    const struct {
        std::string path;
        mci::SoundFontProblem problem;
    } cases[] = {
        {m_dir.Path("gone.sf2"), mci::SoundFontProblem::Missing},
        {m_dir.Path(""), mci::SoundFontProblem::Missing},
        {write("empty.sf2", {}), mci::SoundFontProblem::NotASoundFont},
        {write("renamed.sf2", wave), mci::SoundFontProblem::NotASoundFont},
        {write("truncated.sf2", std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + bytes.size() / 2)),
         mci::SoundFontProblem::Truncated},
        {write("damaged.sf2", damaged), mci::SoundFontProblem::NotLoaded},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.path);
        UseSoundFont(m_sine);
        EXPECT_EQ(Change(row.path), (std::pair<WPARAM, LPARAM>{0, static_cast<LPARAM>(row.problem)}));
        MCIDEVICEID id = 0;
        auto rendered = PlaySong(id);
        const auto more = Render(kFrames);
        rendered.insert(rendered.end(), more.begin(), more.end());
        ASSERT_EQ(Err(Close(id)), Err(0));
        EXPECT_EQ(rendered, sine) << "the refused file changed the sound";
    }
}

} // namespace
} // namespace mcitest
