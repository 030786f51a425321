// The gain staging on sound of known levels: songs far apart come out at the same level, a loud
// song after a quiet one is not pressed into the limiter, a quiet passage stays quieter than a
// loud one, and no sample ever passes the ceiling.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

#include "platform/mci/Loudness.h"

namespace {

constexpr std::size_t kRate = 44100;

// A 440 Hz tone whose RMS level is the given dBFS, as a function of the frame.
std::function<float(std::size_t)> Tone(double db) {
    const double amplitude = std::sqrt(2.0) * std::pow(10.0, db / 20.0);
    return [amplitude](std::size_t frame) {
        return static_cast<float>(amplitude * std::sin(2 * std::numbers::pi * 440.0 * frame / kRate));
    };
}

struct Output {
    std::vector<float> samples; // left channel; the right is the same
    double RmsDb(double fromSecond, double toSecond) const {
        double sum = 0;
        const auto from = static_cast<std::size_t>(fromSecond * kRate),
                   to = static_cast<std::size_t>(toSecond * kRate);
        for (std::size_t i = from; i < to; ++i)
            sum += static_cast<double>(samples[i]) * samples[i];
        return 10.0 * std::log10(sum / static_cast<double>(to - from));
    }
};

// Runs seconds of the signal through the stage in blocks of the callback's size.
Output Play(mci::Loudness& loudness, double seconds, const std::function<float(std::size_t)>& signal) {
    Output out;
    const auto frames = static_cast<std::size_t>(seconds * kRate);
    std::vector<float> left(512), right(512);
    for (std::size_t done = 0; done < frames; done += 512) {
        const std::size_t n = std::min<std::size_t>(512, frames - done);
        for (std::size_t i = 0; i < n; ++i)
            left[i] = right[i] = signal(done + i);
        loudness.Process(left.data(), right.data(), n);
        out.samples.insert(out.samples.end(), left.begin(), left.begin() + static_cast<std::ptrdiff_t>(n));
    }
    return out;
}

TEST(Loudness, SongsFarApartInLevelComeOutAtTheTarget) {
    mci::Loudness loudness;
    // A lone soft instrument, a typical song, a dense one; each starting from the one before.
    for (const double db : {-50.0, -38.0, -24.0, -44.0}) {
        SCOPED_TRACE(db);
        loudness.NewSong();
        const Output out = Play(loudness, 20, Tone(db));
        EXPECT_NEAR(out.RmsDb(10, 20), mci::Loudness::kTargetDb, 1.5);
    }
}

TEST(Loudness, ASongLouderThanTheOneBeforeIsNotPressedIntoTheLimiterAtItsStart) {
    mci::Loudness loudness;
    loudness.NewSong();
    Play(loudness, 20, Tone(-50)); // a soft song: about +32 dB of gain
    loudness.NewSong();
    const std::uint64_t easedBefore = loudness.FramesEased();
    const Output out = Play(loudness, 5, Tone(-20));
    EXPECT_NEAR(out.RmsDb(0.3, 2), mci::Loudness::kTargetDb, 1.5);
    // Its first tenth of a second, and the one it takes to come down, are eased.
    EXPECT_LT(loudness.FramesEased() - easedBefore, kRate * 2 / 5) << "eased for 0.4 s at most";
}

TEST(Loudness, SilenceAtTheStartDoesNotCountAndStaysSilent) {
    mci::Loudness loudness;
    loudness.NewSong();
    const auto tone = Tone(-45);
    const Output out =
        Play(loudness, 20, [&](std::size_t frame) { return frame < 5 * kRate ? 0.0f : tone(frame); });
    for (std::size_t i = 0; i < 5 * kRate; ++i)
        ASSERT_EQ(out.samples[i], 0.0f);
    EXPECT_NEAR(out.RmsDb(14, 20), mci::Loudness::kTargetDb, 1.5);
}

TEST(Loudness, AQuietPassageStaysQuieterThanTheLoudOne) {
    mci::Loudness loudness;
    loudness.NewSong();
    Play(loudness, 20, Tone(-30)); // the song before, at this song's loud level
    loudness.NewSong();
    const auto loud = Tone(-30), quiet = Tone(-36);
    const Output out = Play(
        loudness, 40, [&](std::size_t frame) { return frame < 20 * kRate ? loud(frame) : quiet(frame); });
    EXPECT_NEAR(out.RmsDb(5, 20), mci::Loudness::kTargetDb, 1.5);
    EXPECT_GT(out.RmsDb(5, 20) - out.RmsDb(25, 40), 3.0) << "6 dB apart in the song";
}

TEST(Loudness, NoSampleEverPassesTheCeilingAndTheSoundRecoversAfterAPeak) {
    mci::Loudness loudness;
    loudness.NewSong();
    Play(loudness, 20, Tone(-38)); // settled: about +21 dB of gain
    // A full-scale click every second over the tone: 40 dB over the ceiling after the gain.
    const auto tone = Tone(-38);
    const Output out = Play(
        loudness, 10, [&](std::size_t frame) { return tone(frame) + (frame % kRate == 1000 ? 1.0f : 0.0f); });
    float peak = 0;
    std::size_t nearCeiling = 0;
    for (const float sample : out.samples) {
        peak = std::max(peak, std::fabs(sample));
        nearCeiling += std::fabs(sample) >= mci::Loudness::kCeiling * 0.977f;
    }
    EXPECT_LE(peak, mci::Loudness::kCeiling);
    EXPECT_LE(nearCeiling, 10u) << "only the clicks themselves";
    // Half a second after a click the tone is back at its level.
    EXPECT_NEAR(out.RmsDb(1.6, 1.9), out.RmsDb(0.5, 0.8), 0.3);
}

} // namespace
