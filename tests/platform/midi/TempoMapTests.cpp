// The tempo map: exact times over many tempo changes, the inverse used by seeks, frames for the
// synthesiser, and timecode divisions.

#include <gtest/gtest.h>

#include <random>

#include "platform/midi/TempoMap.h"

namespace midi {
namespace {

using u128 = unsigned __int128;

TEST(TempoMap, DefaultTempoIs120BeatsPerMinute) {
    const TempoMap map = TempoMap::ForTicksPerQuarter(480);
    EXPECT_EQ(map.MicrosAt(0), 0u);
    EXPECT_EQ(map.MicrosAt(480), 500000u);
    EXPECT_EQ(map.MicrosAt(1), 1041u); // 500000 / 480 = 1041.67, rounded down
    EXPECT_EQ(map.MicrosPerQuarterAt(12345), TempoMap::kDefaultMicrosPerQuarter);
}

TEST(TempoMap, ChangesApplyFromTheirTickOn) {
    TempoMap map = TempoMap::ForTicksPerQuarter(96);
    map.AddTempoChange(96, 1000000);
    map.AddTempoChange(192, 250000);
    EXPECT_EQ(map.MicrosAt(96), 500000u);
    EXPECT_EQ(map.MicrosAt(144), 1000000u);
    EXPECT_EQ(map.MicrosAt(192), 1500000u);
    EXPECT_EQ(map.MicrosAt(288), 1750000u);
    EXPECT_EQ(map.MicrosPerQuarterAt(191), 1000000u);
    EXPECT_EQ(map.MicrosPerQuarterAt(192), 250000u);
}

TEST(TempoMap, TheLastChangeOnATickWins) {
    TempoMap map = TempoMap::ForTicksPerQuarter(100);
    map.AddTempoChange(0, 1000000);
    map.AddTempoChange(0, 200000);
    map.AddTempoChange(100, 300000);
    map.AddTempoChange(100, 200000); // back to the previous tempo: no change at all
    EXPECT_EQ(map.MicrosAt(100), 200000u);
    EXPECT_EQ(map.MicrosAt(300), 600000u);
    ASSERT_EQ(map.Changes().size(), 2u);
    EXPECT_EQ(map.Changes()[1].microsPerQuarter, 200000u);
}

TEST(TempoMap, AZeroTempoStillLetsTimeMoveOn) {
    TempoMap map = TempoMap::ForTicksPerQuarter(1);
    map.AddTempoChange(0, 0);
    EXPECT_EQ(map.MicrosAt(10), 10u);
    EXPECT_EQ(map.TickAtMicros(10), 10u);
}

// Thousands of changes whose tick lengths are not whole microseconds: a map that rounded per
// segment would drift by up to a microsecond per change.
TEST(TempoMap, ManyChangesDoNotDrift) {
    const std::uint64_t ppq = 480;
    TempoMap map = TempoMap::ForTicksPerQuarter(ppq);
    std::vector<std::pair<std::uint64_t, std::uint32_t>> changes;
    std::mt19937 random(7);
    std::uint64_t tick = 0;
    for (int i = 0; i < 20000; ++i) {
        tick += 1 + random() % 13;
        const std::uint32_t tempo = 400001 + random() % 300007;
        changes.emplace_back(tick, tempo);
        map.AddTempoChange(tick, tempo);
    }
    // The exact time, summed independently.
    auto exact = [&](std::uint64_t at) {
        u128 sum = 0;
        std::uint64_t from = 0;
        std::uint32_t tempo = TempoMap::kDefaultMicrosPerQuarter;
        for (const auto& [changeTick, changeTempo] : changes) {
            if (changeTick >= at)
                break;
            sum += static_cast<u128>(changeTick - from) * tempo;
            from = changeTick;
            tempo = changeTempo;
        }
        sum += static_cast<u128>(at - from) * tempo;
        return sum;
    };
    for (const std::uint64_t at : {tick / 3, tick / 2 + 1, tick, tick + 1000}) {
        const u128 sum = exact(at);
        EXPECT_EQ(map.MicrosAt(at), static_cast<std::uint64_t>(sum / ppq)) << at;
        EXPECT_EQ(map.FrameAt(at, 44100), static_cast<std::uint64_t>(sum * 44100 / (ppq * 1000000))) << at;
    }
}

TEST(TempoMap, FramesFallOnExactSampleFrames) {
    TempoMap map = TempoMap::ForTicksPerQuarter(96);
    EXPECT_EQ(map.FrameAt(96, 44100), 22050u);
    EXPECT_EQ(map.FrameAt(1, 44100), 229u); // 5208.33 us * 44.1 = 229.69 frames
    map.AddTempoChange(96, 333333);
    // 22050 frames, then 96 ticks of 333333 us / 96 per tick: 14699.98 frames more.
    EXPECT_EQ(map.FrameAt(192, 44100), 22050u + 14699u);
}

TEST(TempoMap, TickAtMicrosIsTheLastTickNotAfterTheTime) {
    TempoMap map = TempoMap::ForTicksPerQuarter(384);
    std::mt19937 random(11);
    std::uint64_t tick = 0;
    for (int i = 0; i < 500; ++i) {
        tick += random() % 2000;
        map.AddTempoChange(tick, 200000 + random() % 900000);
    }
    const std::uint64_t end = map.MicrosAt(tick + 5000);
    for (int i = 0; i < 5000; ++i) {
        const std::uint64_t us = random() % end;
        const std::uint64_t t = map.TickAtMicros(us);
        ASSERT_LE(map.MicrosAt(t), us);
        ASSERT_GT(map.MicrosAt(t + 1), us);
    }
    EXPECT_EQ(map.TickAtMicros(0), 0u);
}

TEST(TempoMap, HugeTicksAndSlowTemposDoNotOverflow) {
    // The numerator passes 2^64 here; the results still fit in 64 bits.
    TempoMap map = TempoMap::ForTicksPerQuarter(1000);
    map.AddTempoChange(0, 0xFFFFFF);
    const std::uint64_t tick = std::uint64_t{1} << 45;
    const u128 sum = static_cast<u128>(tick) * 0xFFFFFF;
    ASSERT_GT(sum >> 64, 0u);
    EXPECT_EQ(map.MicrosAt(tick), static_cast<std::uint64_t>(sum / 1000));
    EXPECT_EQ(map.FrameAt(tick, 48000), static_cast<std::uint64_t>(sum * 48000 / 1000000000));
    EXPECT_EQ(map.TickAtMicros(map.MicrosAt(tick)), tick);
}

TEST(TempoMapSmpte, TicksHaveAFixedLengthWhateverTheTempo) {
    TempoMap map = TempoMap::ForSmpte(24, 8);
    map.AddTempoChange(10, 100000);
    EXPECT_TRUE(map.IsSmpte());
    EXPECT_EQ(map.MicrosAt(192), 1000000u);
    EXPECT_EQ(map.MicrosAt(1), 5208u);
    EXPECT_EQ(map.TickAtMicros(1000000), 192u);
    EXPECT_EQ(map.MicrosPerQuarterAt(10), 100000u); // reported, but it does not change time
}

TEST(TempoMapSmpte, DropFrameIs30000Over1001FramesPerSecond) {
    const TempoMap map = TempoMap::ForSmpte(29, 4);
    EXPECT_EQ(map.MicrosAt(4 * 30000), 1001000000u);
    EXPECT_EQ(map.FrameAt(4 * 30000, 48000), 48048000u);
}

} // namespace
} // namespace midi
