// The peer suite of MIDI files through the whole device: every file opens and plays to its end
// with a wait-play, or is refused with the code its expectation names, and every file that says
// "You must hear a C-Major scale" sends the scale's notes to the synthesiser (eight keys, or one key
// retuned in the tuning files).

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "DeviceFixture.h"

namespace mcitest {
namespace {

namespace fs = std::filesystem;

using PeerSuiteTest = DeviceTest;

// "file" -> its expectation text, from the suite's EXPECTATIONS.md table.
std::map<std::string, std::string> Expectations(const fs::path& table) {
    std::map<std::string, std::string> out;
    std::ifstream in(table);
    for (std::string line; std::getline(in, line);) {
        if (!line.starts_with("| test-"))
            continue;
        const auto end = line.find(" |", 2);
        out[line.substr(2, end - 2)] = line;
    }
    return out;
}

TEST_F(PeerSuiteTest, EveryFilePlaysOrIsRefusedAsDocumented) {
    const fs::path folder = SHUFFLON_PEER_MIDI_DIR;
    if (!fs::is_directory(folder))
        GTEST_SKIP() << "the peer suite is not at " << folder;
    const auto expectations = Expectations(folder.parent_path() / "EXPECTATIONS.md");
    const std::set<int> scale = {60, 62, 64, 65, 67, 69, 71, 72};
    int played = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename();
        if (entry.path().extension() != ".mid")
            continue; // the suite also holds raw system exclusive dumps
        SCOPED_TRACE(name);
        MCIDEVICEID id = 0;
        const MCIERROR opened = OpenFile(entry.path(), id);
        if (name == "test-empty-file.mid" || name == "test-not-a-midi-file.mid") {
            EXPECT_EQ(Err(opened), Err(MCIERR_INVALID_FILE));
            continue;
        }
        ASSERT_EQ(Err(opened), Err(0));
        m_sink->Clear();
        MCI_PLAY_PARMS play;
        ASSERT_EQ(Err(mciSendCommand(id, MCI_PLAY, MCI_WAIT, &play)), Err(0));
        EXPECT_EQ(StatusOf(id, MCI_STATUS_MODE), MCI_MODE_STOP);
        EXPECT_EQ(StatusOf(id, MCI_STATUS_POSITION), StatusOf(id, MCI_STATUS_LENGTH));
        const auto expectation = expectations.find(name);
        if (expectation != expectations.end() &&
            expectation->second.find("C-Major scale") != std::string::npos) {
            std::set<int> heard;
            int noteOns = 0;
            for (const auto& message : m_sink->Messages()) {
                if (message.IsNoteOn()) {
                    heard.insert(message.data1);
                    ++noteOns;
                }
            }
            EXPECT_GE(noteOns, 8);
            // The tuning and velocity files make their scale from one key.
            if (name.find("tuning") == std::string::npos && name.find("velocity") == std::string::npos) {
                for (int key : scale)
                    EXPECT_TRUE(heard.count(key)) << "key " << key << " of the scale";
            }
        }
        EXPECT_EQ(Err(Close(id)), Err(0));
        ++played;
    }
    EXPECT_GT(played, 60);
}

} // namespace
} // namespace mcitest
