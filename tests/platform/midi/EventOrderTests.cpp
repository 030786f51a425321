// The play order of events: a strict weak ordering, stable inside a track, with the note-offs
// that open a tick played first across tracks.

#include <gtest/gtest.h>

#include <map>

#include "SmfBuilder.h"

namespace midi::test {
namespace {

Event MakeEvent(std::uint64_t tick, std::uint8_t phase, std::uint16_t track) {
    Event e;
    e.tick = tick;
    e.phase = phase;
    e.track = track;
    e.status = phase == 0 ? 0x80 : 0x90;
    return e;
}

TEST(PlaysBefore, IsAStrictWeakOrdering) {
    std::vector<Event> events;
    for (std::uint64_t tick : {0, 1, 5})
        for (std::uint8_t phase : {0, 1})
            for (std::uint16_t track : {0, 1, 2}) {
                events.push_back(MakeEvent(tick, phase, track));
                events.push_back(MakeEvent(tick, phase, track)); // an equivalent twin
            }
    auto equivalent = [](const Event& a, const Event& b) { return !PlaysBefore(a, b) && !PlaysBefore(b, a); };
    for (const Event& a : events) {
        EXPECT_FALSE(PlaysBefore(a, a));
        for (const Event& b : events) {
            if (PlaysBefore(a, b)) {
                EXPECT_FALSE(PlaysBefore(b, a));
            }
            for (const Event& c : events) {
                if (PlaysBefore(a, b) && PlaysBefore(b, c)) {
                    EXPECT_TRUE(PlaysBefore(a, c));
                }
                if (equivalent(a, b) && equivalent(b, c)) {
                    EXPECT_TRUE(equivalent(a, c));
                }
            }
        }
    }
}

TEST(PlaysBefore, TickThenPhaseThenTrack) {
    EXPECT_TRUE(PlaysBefore(MakeEvent(1, 1, 5), MakeEvent(2, 0, 0)));
    EXPECT_TRUE(PlaysBefore(MakeEvent(2, 0, 5), MakeEvent(2, 1, 0)));
    EXPECT_TRUE(PlaysBefore(MakeEvent(2, 1, 0), MakeEvent(2, 1, 1)));
}

TEST(MergedOrder, NoteEndedByOneTrackAndStartedByAnotherStillSounds) {
    // Tracks 0 and 1 share channel 0. Track 1 ends its C4 at tick 96, the tick at which track 0
    // starts a C4 of its own; played in track order the new note would be cut at once.
    const Bytes file =
        Cat({Header(1, 2, 96), Track(Cat({NoteOn(96, 0, 60), NoteOff(96, 0, 60), EndOfTrack()})),
             Track(Cat({NoteOn(0, 0, 60), NoteOff(96, 0, 60), EndOfTrack()}))});
    const auto result = Parse(file);
    ASSERT_TRUE(result.ok());
    const auto& events = result.value().events;
    std::vector<std::pair<std::uint64_t, bool>> keyTimeline;
    for (const Event& e : events) {
        if (e.IsChannel())
            keyTimeline.emplace_back(e.tick, !e.IsNoteOff());
    }
    const std::vector<std::pair<std::uint64_t, bool>> expected = {
        {0, true}, {96, false}, {96, true}, {192, false}};
    EXPECT_EQ(keyTimeline, expected);
}

TEST(MergedOrder, ATrackNeverHasItsOwnEventsReordered) {
    // A zero-length note (on, then off on the same tick) and controllers before a note-off must
    // keep their order inside the track, even though a note-off elsewhere on that tick goes first.
    const Bytes file = Cat(
        {Header(1, 3, 96),
         Track(Cat(
             {NoteOn(48, 9, 36), NoteOff(0, 9, 36), Vlq(0), {0xB0, 64, 0}, NoteOff(0, 0, 50), EndOfTrack()})),
         Track(Cat({NoteOn(0, 1, 40), NoteOff(48, 1, 40), NoteOn(0, 1, 41), EndOfTrack(1)})),
         Track(Cat({Meta(48, 1, Text("x")), NoteOff(0, 2, 70), EndOfTrack()}))});
    const auto result = Parse(file);
    ASSERT_TRUE(result.ok());
    const auto& events = result.value().events;
    ASSERT_TRUE(std::is_sorted(events.begin(), events.end(), PlaysBefore));

    // Each track's events, taken out of the merged list, are the track as written.
    std::map<int, std::vector<std::pair<std::uint8_t, std::uint8_t>>> perTrack;
    for (const Event& e : events)
        perTrack[e.track].emplace_back(e.status, e.data1);
    using P = std::vector<std::pair<std::uint8_t, std::uint8_t>>;
    EXPECT_EQ(perTrack[0], (P{{0x99, 36}, {0x89, 36}, {0xB0, 64}, {0x80, 50}, {0xFF, 0x2F}}));
    EXPECT_EQ(perTrack[1], (P{{0x91, 40}, {0x81, 40}, {0x91, 41}, {0xFF, 0x2F}}));
    EXPECT_EQ(perTrack[2], (P{{0xFF, 1}, {0x82, 70}, {0xFF, 0x2F}}));

    // At tick 48 the note-off that opens track 1's events plays first.
    std::vector<std::pair<int, std::uint8_t>> at48;
    for (const Event& e : events) {
        if (e.tick == 48)
            at48.emplace_back(e.track, e.status);
    }
    const std::vector<std::pair<int, std::uint8_t>> expected = {{1, 0x81}, {0, 0x99}, {0, 0x89}, {0, 0xB0},
                                                                {0, 0x80}, {0, 0xFF}, {1, 0x91}, {2, 0xFF},
                                                                {2, 0x82}, {2, 0xFF}};
    EXPECT_EQ(at48, expected);
}

} // namespace
} // namespace midi::test
