// The peer suite of test files for MIDI readers: each file states in its own text events what a
// player must do with it. These tests check that our reader gives the player what it needs to do
// that. The files stay where the project keeps them, outside the repository.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "SmfBuilder.h"

namespace midi::test {
namespace {

namespace fs = std::filesystem;

const fs::path kPeerDir = SHUFFLON_PEER_MIDI_DIR;

class PeerSuite : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::is_directory(kPeerDir))
            GTEST_SKIP() << "The peer MIDI test files are not at " << kPeerDir
                         << "; fetch ../shared/testdata to run these tests.";
    }

    static Song Read(const std::string& name) {
        auto result = ReadMidiFile((kPeerDir / name).string());
        EXPECT_TRUE(result.ok()) << name << ": " << (result.ok() ? "" : DescribeReadError(result.error()));
        return result.ok() ? std::move(result).value() : Song{};
    }

    // Note-on keys with their start times in milliseconds, in play order.
    static std::vector<std::pair<int, std::uint64_t>> Notes(const Song& song, int channel = -1) {
        std::vector<std::pair<int, std::uint64_t>> notes;
        for (const Event& e : song.events) {
            if ((e.status & 0xF0) == 0x90 && e.data2 > 0 && (channel < 0 || (e.status & 0x0F) == channel))
                notes.emplace_back(e.data1, e.micros / 1000);
        }
        return notes;
    }
};

const std::vector<std::pair<int, std::uint64_t>> kScaleAt120Bpm = {
    {60, 0}, {62, 500}, {64, 1000}, {65, 1500}, {67, 2000}, {69, 2500}, {71, 3000}, {72, 3500}};

TEST_F(PeerSuite, FilesThatAreNotMidiAreRefusedWithAClearError) {
    for (const char* name :
         {"test-empty-file.mid", "test-not-a-midi-file.mid", "test-syx-7e-06-01-id-request.syx"}) {
        const auto result = ReadMidiFile((kPeerDir / name).string());
        ASSERT_FALSE(result.ok()) << name;
        EXPECT_EQ(result.error().kind, ReadErrorKind::NotMidi) << name;
        EXPECT_FALSE(DescribeReadError(result.error()).empty());
    }
}

TEST_F(PeerSuite, EveryOtherFileOpensWithItsEventsInPlayOrder) {
    int files = 0;
    for (const auto& entry : fs::directory_iterator(kPeerDir)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".mid" || name == "test-empty-file.mid" ||
            name == "test-not-a-midi-file.mid")
            continue;
        ++files;
        const Song song = Read(name);
        EXPECT_FALSE(song.events.empty()) << name;
        EXPECT_TRUE(std::is_sorted(song.events.begin(), song.events.end(), PlaysBefore)) << name;
        if (!song.events.empty()) {
            EXPECT_EQ(song.lengthMicros, song.events.back().micros) << name;
        }
    }
    EXPECT_GE(files, 70);
}

TEST_F(PeerSuite, ScaleFilesPlayAllEightNotesOnTime) {
    // Valid variants and the broken ones that must still sound: corrupt endings, illegal system
    // messages, running status interrupted by meta and sysex events, long delta times, a foreign
    // chunk, an SMPTE offset.
    std::vector<std::string> names = {"test-c-major-scale.mid",
                                      "test-corrupt-file-extra-byte.mid",
                                      "test-corrupt-file-missing-byte.mid",
                                      "test-non-midi-track.mid",
                                      "test-running-status-metaevent.mid",
                                      "test-running-status-sysex.mid",
                                      "test-smpte-offset.mid",
                                      "test-vlq-2-byte.mid",
                                      "test-vlq-3-byte.mid",
                                      "test-vlq-4-byte.mid",
                                      "test-illegal-message-all.mid",
                                      "test-illegal-message-f1-xx.mid",
                                      "test-illegal-message-f2-xx-xx.mid",
                                      "test-illegal-message-f3-xx.mid"};
    for (const char* suffix : {"f4", "f5", "f6", "f8", "f9", "fa", "fb", "fc", "fd", "fe"})
        names.push_back(std::string("test-illegal-message-") + suffix + ".mid");
    for (const std::string& name : names) {
        const Song song = Read(name);
        EXPECT_EQ(Notes(song), kScaleAt120Bpm) << name;
        EXPECT_EQ(song.lengthMicros, 4000000u) << name;
    }
}

TEST_F(PeerSuite, TwoTracksPlayTogetherInFormats0And1AndInTurnInFormat2) {
    for (const char* name : {"test-2-tracks-type-0.mid", "test-2-tracks-type-1.mid"}) {
        const Song song = Read(name);
        EXPECT_EQ(song.tracksRead, 2) << name;
        const auto first = Notes(song, 0);
        const auto second = Notes(song, 1);
        ASSERT_EQ(first.size(), 8u) << name;
        ASSERT_EQ(second.size(), 8u) << name;
        for (std::size_t i = 0; i < first.size(); ++i)
            EXPECT_EQ(first[i].second, second[i].second) << name;
    }
    const Song sequential = Read("test-2-tracks-type-2.mid");
    const auto first = Notes(sequential, 0);
    const auto second = Notes(sequential, 1);
    ASSERT_EQ(first.size(), 8u);
    ASSERT_EQ(second.size(), 8u);
    EXPECT_GT(second.front().second, first.back().second);
    EXPECT_EQ(sequential.lengthMicros, 2 * Read("test-2-tracks-type-1.mid").lengthMicros);
}

TEST_F(PeerSuite, ChordFilesSoundThreeNotesAtOnce) {
    for (int i = 0; i <= 3; ++i) {
        const std::string name = "test-multichannel-chords-" + std::to_string(i) + ".mid";
        const Song song = Read(name);
        std::map<std::uint64_t, std::set<int>> chords;
        for (const auto& [key, ms] : Notes(song))
            chords[ms].insert(key);
        ASSERT_EQ(chords.size(), 8u) << name;
        EXPECT_EQ(chords.at(0), (std::set<int>{60, 64, 67})) << name; // C major at C5
        for (const auto& [ms, keys] : chords)
            EXPECT_EQ(keys.size(), 3u) << name << " at " << ms;
    }
}

TEST_F(PeerSuite, KaraokeFileCarriesItsWordsInPlayOrder) {
    const Song song = Read("test-karaoke-kar.mid");
    std::string words;
    std::uint64_t last = 0;
    for (const Event& e : song.events) {
        if (!e.IsMeta() || (e.data1 != meta::kText && e.data1 != meta::kLyric))
            continue;
        const auto bytes = song.PayloadOf(e);
        words.append(bytes.begin(), bytes.end());
        EXPECT_GE(e.micros, last);
        last = e.micros;
    }
    EXPECT_NE(words.find("@TMary Was A Little Lame"), std::string::npos) << words;
    EXPECT_FALSE(Notes(song).empty());
}

TEST_F(PeerSuite, SilentFilesLastUntilTheirLastEvent) {
    // Five seconds of nothing, ended by an end of track, a text event or an all-notes-off.
    for (const char* name : {"test-silence-end-of-track.mid", "test-silence-text-metaevent.mid",
                             "test-silence-all-notes-off.mid"}) {
        const Song song = Read(name);
        EXPECT_TRUE(Notes(song).empty()) << name;
        EXPECT_EQ(song.lengthMicros, 5000000u) << name;
    }
    const Song empty = Read("test-empty.mid");
    EXPECT_EQ(empty.events.size(), 1u);
    EXPECT_EQ(empty.lengthMicros, 0u);
}

TEST_F(PeerSuite, TrackLengthIncludesSilenceBeforeTheEndOfTrack) {
    const Song song = Read("test-track-length.mid");
    EXPECT_EQ(Notes(song), (std::vector<std::pair<int, std::uint64_t>>{{60, 0}}));
    EXPECT_EQ(song.lengthMicros, 1500000u); // C5 for a quarter, then a half note of silence
}

} // namespace
} // namespace midi::test
