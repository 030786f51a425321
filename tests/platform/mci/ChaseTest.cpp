// The chase rule on hand-made event lists: order kept, only superseded messages left out, and
// the state a message reads sent along with it.

#include <gtest/gtest.h>

#include "platform/mci/Chase.h"

namespace {

using mci::SongEvent;

struct Short {
    std::uint8_t status, data1, data2;
    bool operator==(const Short&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Short& m) {
    return out << std::hex << "{" << int(m.status) << " " << int(m.data1) << " " << int(m.data2) << "}"
               << std::dec;
}

mci::PlayableSong SongOf(const std::vector<std::pair<std::uint64_t, Short>>& events) {
    mci::PlayableSong song;
    for (const auto& [frame, m] : events)
        song.events.push_back(SongEvent{frame, 0, 0, m.status, m.data1, m.data2});
    song.endFrame = events.empty() ? 0 : events.back().first;
    return song;
}

std::vector<Short> Chased(const mci::PlayableSong& song, std::uint64_t frame) {
    std::vector<Short> out;
    for (const SongEvent& e : mci::BuildChase(song, frame).events)
        out.push_back({e.status, e.data1, e.data2});
    return out;
}

TEST(Chase, NothingBeforeTheStart) {
    const auto song = SongOf({{0, {0xC0, 5, 0}}, {10, {0x90, 60, 100}}});
    EXPECT_TRUE(Chased(song, 0).empty());
}

TEST(Chase, EventsOnThePositionItselfAreLeftToThePlay) {
    const auto song = SongOf({{0, {0xC0, 5, 0}}, {100, {0xC0, 6, 0}}});
    EXPECT_EQ(Chased(song, 100), (std::vector<Short>{{0xC0, 5, 0}}));
    EXPECT_EQ(Chased(song, 101), (std::vector<Short>{{0xC0, 6, 0}}));
}

TEST(Chase, NotesAndKeyPressureAreNeverSent) {
    const auto song = SongOf({{0, {0x90, 60, 100}},
                              {1, {0xA0, 60, 20}},
                              {2, {0x80, 60, 0}},
                              {3, {0xB0, 123, 0}},
                              {4, {0xB0, 120, 0}}});
    EXPECT_TRUE(Chased(song, 10).empty());
}

TEST(Chase, OnlyTheLastValueOfAControllerIsSentPerChannel) {
    const auto song = SongOf({{0, {0xB0, 7, 10}},
                              {1, {0xB1, 7, 11}},
                              {2, {0xB0, 7, 12}},
                              {3, {0xB0, 10, 64}},
                              {4, {0xE0, 0, 0x40}},
                              {5, {0xE0, 0, 0x50}},
                              {6, {0xD0, 3, 0}},
                              {7, {0xD0, 4, 0}}});
    EXPECT_EQ(
        Chased(song, 10),
        (std::vector<Short>{{0xB1, 7, 11}, {0xB0, 7, 12}, {0xB0, 10, 64}, {0xE0, 0, 0x50}, {0xD0, 4, 0}}));
}

TEST(Chase, AProgramChangeTakesTheBankItWasChosenIn) {
    const auto song = SongOf(
        {{0, {0xB9, 0, 1}}, {1, {0xC9, 3, 0}}, {2, {0xB9, 0, 5}}, {3, {0xC9, 4, 0}}, {4, {0xB9, 0, 7}}});
    // Program 4 from bank 5; bank 7 stays selected for a later program change.
    EXPECT_EQ(Chased(song, 10), (std::vector<Short>{{0xB9, 0, 5}, {0xC9, 4, 0}, {0xB9, 0, 7}}));
}

TEST(Chase, AResetKeepsItsPlaceAmongTheControllers) {
    const auto song = SongOf({{0, {0xB0, 1, 50}},
                              {1, {0xB0, 121, 0}},
                              {2, {0xB0, 11, 90}},
                              {3, {0xB0, 121, 0}},
                              {4, {0xB0, 11, 80}}});
    // The first reset is superseded by the second; the modulation before both is still sent, as
    // the second reset then clears it as it did in the song.
    EXPECT_EQ(Chased(song, 10), (std::vector<Short>{{0xB0, 1, 50}, {0xB0, 121, 0}, {0xB0, 11, 80}}));
}

TEST(Chase, DataEntryGoesToTheParameterItWasFor) {
    const auto song = SongOf({
        {0, {0xB0, 101, 0}},
        {0, {0xB0, 100, 0}},
        {0, {0xB0, 6, 12}}, // bend range 12
        {1, {0xB0, 99, 1}},
        {1, {0xB0, 98, 8}},
        {1, {0xB0, 6, 70}}, // NRPN 1/8 (vibrato rate)
        {2, {0xB0, 101, 0}},
        {2, {0xB0, 100, 0}},
        {2, {0xB0, 6, 2}}, // bend range 2 replaces 12
        {3, {0xB0, 101, 127}},
        {3, {0xB0, 100, 127}}, // null parameter at the end
    });
    EXPECT_EQ(Chased(song, 10), (std::vector<Short>{
                                    {0xB0, 99, 1},
                                    {0xB0, 98, 8},
                                    {0xB0, 99, 1},
                                    {0xB0, 98, 8},
                                    {0xB0, 6, 70},
                                    {0xB0, 101, 0},
                                    {0xB0, 100, 0},
                                    {0xB0, 6, 2},
                                    {0xB0, 101, 127},
                                    {0xB0, 100, 127},
                                }));
}

TEST(Chase, DataIncrementsAreAllKept) {
    const auto song =
        SongOf({{0, {0xB0, 101, 0}}, {0, {0xB0, 100, 1}}, {1, {0xB0, 96, 0}}, {2, {0xB0, 96, 0}}});
    EXPECT_EQ(Chased(song, 10), (std::vector<Short>{{0xB0, 101, 0},
                                                    {0xB0, 100, 1},
                                                    {0xB0, 101, 0},
                                                    {0xB0, 100, 1},
                                                    {0xB0, 96, 0},
                                                    {0xB0, 101, 0},
                                                    {0xB0, 100, 1},
                                                    {0xB0, 96, 0}}));
}

TEST(Chase, SystemExclusiveMessagesAreAllKeptInOrder) {
    mci::PlayableSong song;
    song.payload = {1, 2, 3, 4};
    song.events = {SongEvent{0, 0, 2, 0xF0, 0, 0}, SongEvent{1, 0, 0, 0xB0, 7, 10},
                   SongEvent{2, 2, 2, 0xF0, 0, 0}, SongEvent{3, 0, 2, 0xF0, 0, 0}};
    const mci::ChaseList chase = mci::BuildChase(song, 10);
    ASSERT_EQ(chase.events.size(), 4u);
    EXPECT_EQ(chase.events[0].payloadOffset, 0u);
    EXPECT_EQ(chase.events[1].status, 0xB0);
    EXPECT_EQ(chase.events[2].payloadOffset, 2u);
    EXPECT_EQ(chase.events[3].payloadOffset, 0u);
}

TEST(Chase, ModeMessagesKeepTheLastOfEachPair) {
    const auto song =
        SongOf({{0, {0xB0, 126, 1}}, {1, {0xB0, 124, 0}}, {2, {0xB0, 127, 0}}, {3, {0xB0, 125, 0}}});
    EXPECT_EQ(Chased(song, 10), (std::vector<Short>{{0xB0, 127, 0}, {0xB0, 125, 0}}));
}

} // namespace
