// Which preset a program change selects, through bank select, drum channels, the three kinds of
// reset and GS rhythm part messages, and what a song needs loaded before it plays.

#include <gtest/gtest.h>

#include "platform/mci/PlayableSong.h"
#include "platform/mci/PresetChoice.h"

namespace {

using mci::ChannelPrograms;
using mci::PresetId;
using Bytes = std::vector<std::uint8_t>;

// A General MIDI SoundFont in small: piano, strings, a bank 8 variation of program 4, two kits.
const mci::PresetTable kTable({{0, 0}, {0, 4}, {0, 48}, {8, 4}, {128, 0}, {128, 16}});

PresetId Chosen(const ChannelPrograms& channels, unsigned channel) {
    const auto index = channels.Preset(channel);
    return index ? kTable.At(*index) : PresetId{999, 0};
}

Bytes GsDataSet(std::uint32_t address, std::uint8_t value) {
    Bytes body = {0x41,
                  0x10,
                  0x42,
                  0x12,
                  static_cast<std::uint8_t>(address >> 16),
                  static_cast<std::uint8_t>(address >> 8),
                  static_cast<std::uint8_t>(address),
                  value};
    unsigned sum = 0;
    for (std::size_t i = 4; i < body.size(); ++i)
        sum += body[i];
    body.push_back(static_cast<std::uint8_t>((128 - sum % 128) % 128));
    return body;
}

const Bytes kGmOn = {0x7E, 0x7F, 0x09, 0x01};
const Bytes kGsReset = GsDataSet(0x40007F, 0x00);
const Bytes kXgReset = {0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00};

struct Step {
    enum Kind { Control, Program, Sysex } kind;
    unsigned channel;
    std::uint8_t a = 0, b = 0;
    Bytes sysex = {};
};

TEST(PresetChoice, ProgramChangesFollowTheModulesRules) {
    struct Case {
        const char* what;
        std::vector<Step> steps;
        unsigned channel;
        PresetId expected;
    };
    const std::vector<Case> cases = {
        {"power-on: bank 0", {{Step::Program, 0, 4}}, 0, {0, 4}},
        {"GS: MSB picks the bank", {{Step::Control, 0, 0, 8}, {Step::Program, 0, 4}}, 0, {8, 4}},
        {"GS: LSB is ignored", {{Step::Control, 0, 32, 8}, {Step::Program, 0, 4}}, 0, {0, 4}},
        {"a missing bank falls back to bank 0",
         {{Step::Control, 0, 0, 8}, {Step::Program, 0, 48}},
         0,
         {0, 48}},
        {"a missing program falls back to the piano", {{Step::Program, 0, 100}}, 0, {0, 0}},
        {"channel 10 plays kits", {{Step::Program, 9, 16}}, 9, {128, 16}},
        {"a missing kit falls back to kit 0", {{Step::Program, 9, 5}}, 9, {128, 0}},
        {"a drum channel ignores bank select",
         {{Step::Control, 9, 0, 8}, {Step::Program, 9, 16}},
         9,
         {128, 16}},
        {"GM ignores bank select",
         {{Step::Sysex, 0, 0, 0, kGmOn}, {Step::Control, 0, 0, 8}, {Step::Program, 0, 4}},
         0,
         {0, 4}},
        {"a reset forgets the bank and the program",
         {{Step::Control, 1, 0, 8}, {Step::Program, 1, 4}, {Step::Sysex, 0, 0, 0, kGsReset}},
         1,
         {0, 0}},
        {"XG: MSB 127 makes a drum channel",
         {{Step::Sysex, 0, 0, 0, kXgReset}, {Step::Control, 2, 0, 127}, {Step::Program, 2, 16}},
         2,
         {128, 16}},
        {"XG: LSB picks the bank",
         {{Step::Sysex, 0, 0, 0, kXgReset}, {Step::Control, 3, 32, 8}, {Step::Program, 3, 4}},
         3,
         {8, 4}},
        // The GS address names channel 3 (its parts count from the drum part): the message is for channel 2.
        {"a GS rhythm part makes channel 3 a drum channel on kit 0",
         {{Step::Program, 2, 48}, {Step::Sysex, 0, 0, 0, GsDataSet(0x401315, 1)}},
         2,
         {128, 0}},
        {"a GS rhythm part of 0 makes channel 10 melodic",
         {{Step::Sysex, 0, 0, 0, GsDataSet(0x401015, 0)}, {Step::Program, 9, 48}},
         9,
         {0, 48}},
        {"a rhythm part with a wrong checksum is not taken",
         {{Step::Sysex, 0, 0, 0, {0x41, 0x10, 0x42, 0x12, 0x40, 0x13, 0x15, 0x01, 0x00}},
          {Step::Program, 2, 48}},
         2,
         {0, 48}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ChannelPrograms channels(kTable);
        for (const Step& step : c.steps) {
            if (step.kind == Step::Control)
                channels.Controller(step.channel, step.a, step.b);
            else if (step.kind == Step::Program)
                channels.ProgramChange(step.channel, step.a);
            else
                channels.SystemExclusive(step.sysex);
        }
        EXPECT_EQ(Chosen(channels, c.channel), c.expected);
    }
}

TEST(PresetChoice, ASongNeedsThePresetsItsNotesSound) {
    mci::PlayableSong song;
    auto add = [&](std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
        song.events.push_back(mci::SongEvent{song.events.size(), 0, 0, status, data1, data2});
    };
    add(0xC0, 48, 0); // strings on channel 1, never heard: changed before its first note
    add(0xC0, 4, 0);  // ... to program 4
    add(0x90, 60, 100);
    add(0xC1, 48, 0);   // channel 2 chooses strings and plays nothing
    add(0x99, 36, 100); // channel 10 on its kit as it stands
    add(0x92, 60, 0);   // a note-on of velocity 0 ends a note
    add(0x90, 62, 100); // program 4 again: needed once
    ChannelPrograms channels(kTable);
    channels.ProgramChange(2, 48); // as an earlier song left channel 3

    std::vector<PresetId> needed;
    for (std::size_t index : mci::PresetsOfSong(song, channels))
        needed.push_back(kTable.At(index));
    EXPECT_EQ(needed, (std::vector<PresetId>{{0, 4}, {128, 0}}));
    EXPECT_EQ(Chosen(channels, 0), (PresetId{0, 0})) << "the channels themselves are not changed";
}

} // namespace
