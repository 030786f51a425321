#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "demogen/Songs.h"
#include "platform/midi/MidiFile.h"

// The demo songs a fresh clone plays: demo/ must hold exactly what the generator writes, and every
// file must be a clean, short song of the kind its name promises.

namespace {

const std::filesystem::path kDemo = SHUFFLON_DEMO_DIR;

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

midi::Song Read(const std::string& name) {
    const midi::Result<midi::Song> result = midi::ReadMidiFile((kDemo / name).string());
    if (!result.ok())
        throw std::runtime_error(name + ": " + midi::DescribeReadError(result.error()));
    return result.value();
}

std::string MetaText(const midi::Song& song, const midi::Event& event) {
    const auto bytes = song.PayloadOf(event);
    return std::string(bytes.begin(), bytes.end());
}

int CountMeta(const midi::Song& song, std::uint8_t type) {
    return static_cast<int>(std::count_if(song.events.begin(), song.events.end(), [&](const midi::Event& e) {
        return e.IsMeta() && e.data1 == type;
    }));
}

TEST(DemoSongs, FolderHoldsExactlyWhatTheGeneratorWrites) {
    const std::vector<demogen::SongFile> songs = demogen::AllSongs();
    ASSERT_GE(songs.size(), 6u);
    for (const demogen::SongFile& song : songs) {
        EXPECT_EQ(ReadBytes(kDemo / song.fileName), song.bytes)
            << song.fileName << " is stale: regenerate demo/ as demo/README.md says";
    }
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kDemo)) {
        const std::string ext = entry.path().extension().string();
        if (ext == ".mid" || ext == ".rmi" || ext == ".kar")
            ++files;
    }
    EXPECT_EQ(files, static_cast<int>(songs.size())) << "demo/ holds a song the generator does not make";
}

TEST(DemoSongs, EverySongReadsCleanlyAndLastsTwentyToSixtySeconds) {
    for (const demogen::SongFile& file : demogen::AllSongs()) {
        const midi::Song song = Read(file.fileName);
        EXPECT_TRUE(song.repairs.empty()) << file.fileName << ": " << song.repairs.front().detail;
        EXPECT_GE(song.lengthMicros, 20'000'000u) << file.fileName;
        EXPECT_LE(song.lengthMicros, 60'000'000u) << file.fileName;
        const auto notes = std::count_if(song.events.begin(), song.events.end(), [](const midi::Event& e) {
            return (e.status & 0xF0) == 0x90 && e.data2 > 0;
        });
        EXPECT_GE(notes, 100) << file.fileName;
    }
}

TEST(DemoSongs, RmiIsAWellFormedRiffWrapper) {
    const std::vector<std::uint8_t> bytes = ReadBytes(kDemo / "Greensleeves.rmi");
    ASSERT_GT(bytes.size(), 28u);
    auto le32 = [&](std::size_t at) {
        return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
               static_cast<std::uint32_t>(bytes[at + 3]) << 24;
    };
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
    EXPECT_EQ(le32(4), bytes.size() - 8);
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), "RMIDdata");
    const std::uint32_t dataSize = le32(16);
    EXPECT_EQ(20 + dataSize + dataSize % 2, bytes.size()) << "data chunk size or pad byte wrong";
    EXPECT_EQ(std::string(bytes.begin() + 20, bytes.begin() + 24), "MThd");
    EXPECT_TRUE(Read("Greensleeves.rmi").rmid);
}

TEST(DemoSongs, KarHasAWordsTrackWithTitleAndOneLyricPerSyllable) {
    const midi::Song song = Read("Amazing Grace.kar");
    int wordsTrack = -1;
    bool title = false;
    for (const midi::Event& event : song.events) {
        if (!event.IsMeta())
            continue;
        if (event.data1 == midi::meta::kTrackName && MetaText(song, event) == "Words")
            wordsTrack = event.track;
        if (event.data1 == midi::meta::kText && MetaText(song, event) == "@TAmazing Grace")
            title = event.track == wordsTrack;
    }
    EXPECT_GE(wordsTrack, 0);
    EXPECT_TRUE(title) << "no @T title text on the words track";

    // The first verse has 28 sung syllables; every lyric starts with a note in the same tick.
    std::string verse;
    int lyrics = 0;
    for (const midi::Event& event : song.events) {
        if (!event.IsMeta() || event.data1 != midi::meta::kLyric)
            continue;
        ++lyrics;
        EXPECT_EQ(event.track, wordsTrack);
        verse += MetaText(song, event);
        const bool noteThere = std::any_of(song.events.begin(), song.events.end(), [&](const midi::Event& e) {
            return e.tick == event.tick && (e.status & 0xF0) == 0x90 && e.data2 > 0;
        });
        EXPECT_TRUE(noteThere) << "lyric \"" << MetaText(song, event) << "\" has no note";
    }
    EXPECT_EQ(lyrics, 28);
    EXPECT_EQ(verse, "\\Amazing grace! How sweet the sound/That saved a wretch like me!"
                     "/I once was lost, but now am found,/Was blind, but now I see.");
}

// The set as a whole exercises what a player must handle: both formats, a drum part on channel 10,
// tempo changes within a song, several instruments.
TEST(DemoSongs, SetCoversFormatsDrumsTempoChangesAndInstruments) {
    int format0 = 0;
    int format1 = 0;
    bool drums = false;
    bool tempoChange = false;
    std::vector<int> melodyPrograms;
    for (const demogen::SongFile& file : demogen::AllSongs()) {
        const midi::Song song = Read(file.fileName);
        format0 += song.format == 0;
        format1 += song.format == 1;
        tempoChange |= CountMeta(song, midi::meta::kTempo) > 1;
        int melodyProgram = -1;
        for (const midi::Event& event : song.events) {
            drums |= event.status == 0x99 && event.data2 > 0;
            if (event.status == 0xC0 && melodyProgram < 0)
                melodyProgram = event.data1;
        }
        melodyPrograms.push_back(melodyProgram);
    }
    EXPECT_GE(format0, 1);
    EXPECT_GE(format1, 2);
    EXPECT_TRUE(drums);
    EXPECT_TRUE(tempoChange);
    std::sort(melodyPrograms.begin(), melodyPrograms.end());
    EXPECT_EQ(std::adjacent_find(melodyPrograms.begin(), melodyPrograms.end()), melodyPrograms.end())
        << "two songs lead with the same instrument";
}

} // namespace
