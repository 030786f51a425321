#pragma once

// The gain staging of the synthesiser's sound, all in one place, in the order it is applied:
//
// 1. Leveling, per song: songs as written range from a quiet solo flute to a full orchestra, some
//    30 dB apart at the synthesiser's own gain. Each song is brought to kTargetDb RMS by its
//    integrated level, measured as it plays the way broadcast loudness is (the mean power of
//    100 ms blocks, leaving out silence and blocks far below the song's level). A song starts at
//    the gain the song before it ended with (collections tend to be alike) and moves to its own
//    level over its first three seconds, or within the first tenth of a second when it is louder;
//    as more of the song is heard, the gain moves less and less, so the song keeps its own
//    dynamics: a quiet verse stays quieter than the chorus.
// 2. A look-ahead peak limiter with a soft knee: peaks above kKneeDb are eased down so that none
//    ever reaches kCeiling, and the gain comes down over the 1.5 ms before a peak rather than on
//    it, so nothing clicks. General MIDI songs have peaks some 18 dB above their RMS level, so at
//    kTargetDb it takes more than a decibel off for a few percent of the time at most
//    (bench_loudness prints how much).
//
// It runs in the audio callback: fixed state, no allocation, no lock. Reset and the song's start
// come from the thread the synthesiser is lent to. The user's volume comes after all this, in the
// engine: it only ever turns the sound down.

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace mci {

class Loudness {
public:
    static constexpr float kTargetDb = -18.0f;
    static constexpr float kKneeDb = -4.0f;
    static constexpr float kCeiling = 0.891f; // -1 dBFS

    Loudness();

    // A new song starts: its level is not known yet.
    void NewSong();
    void Process(float* left, float* right, std::size_t frames);

    // Frames on which the limiter took off more than 1 dB, for the loudness bench.
    std::uint64_t FramesEased() const { return m_framesEased.load(std::memory_order_relaxed); }

private:
    static constexpr std::size_t kBlock = 4410;    // 100 ms
    static constexpr std::size_t kLookahead = 64;  // frames
    static constexpr float kTypicalDb = -38.0f;    // a song's level at the synthesiser's own gain
    static constexpr float kSettleBlocks = 30;     // the song's own level has taken over after 3 s
    static constexpr double kSilence = 1e-8;       // mean square of a block below -80 dBFS
    static constexpr double kRelativeGate = 0.1;   // blocks 10 dB below the song's level so far
    static constexpr float kReleaseSeconds = 0.1f; // the limiter's way back from a peak

    void EndBlock();
    float SongLevelDb() const;
    float LimitGain(float peak) const;

    // Leveling.
    double m_blockSquares = 0;
    std::size_t m_blockFrames = 0;
    double m_gatedSum = 0, m_relativeSum = 0; // block powers above silence, and above the relative gate
    float m_gatedBlocks = 0, m_blocksCounted = 0;
    float m_priorDb = kTypicalDb;
    float m_gain = 1, m_gainStep = 0, m_targetGain = 1;
    std::atomic<std::uint64_t> m_framesEased{0};

    // Limiter: the last kLookahead frames and their wanted gains, and the running minimum's and
    // average's state.
    const float m_knee, m_ceilingDb, m_releaseStep;
    float m_delayLeft[kLookahead] = {}, m_delayRight[kLookahead] = {};
    float m_wanted[kLookahead] = {};
    float m_smoothed[kLookahead] = {};
    std::size_t m_position = 0;
    std::size_t m_sinceLimited = kLookahead; // frames since one wanted less than full gain
    float m_release = 1.0f;
    double m_smoothedSum = kLookahead;
    bool m_started = false;
};

} // namespace mci
