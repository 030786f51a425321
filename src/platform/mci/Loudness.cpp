#include "platform/mci/Loudness.h"

#include <algorithm>
#include <cmath>

namespace mci {

namespace {

// The gain that brings a song of this level (mean square, in dB) to the target, within what
// leveling may do: at most 12 dB down (the synthesiser's own gain is moderate already) and 40 dB
// up (a lone soft flute at half volume).
float LevelingGain(float levelDb) {
    const float db = std::clamp(Loudness::kTargetDb - levelDb, -12.0f, 40.0f);
    return std::pow(10.0f, db / 20.0f);
}

} // namespace

Loudness::Loudness()
    : m_knee(std::pow(10.0f, kKneeDb / 20.0f)), m_ceilingDb(20.0f * std::log10(kCeiling)),
      m_releaseStep(1.0f - std::exp(-1.0f / (kReleaseSeconds * 44100.0f))) {
    std::fill(std::begin(m_wanted), std::end(m_wanted), 1.0f);
    std::fill(std::begin(m_smoothed), std::end(m_smoothed), 1.0f);
}

void Loudness::NewSong() {
    // The first song starts from a typical song's level at the synthesiser's gain.
    if (m_blocksCounted > 0)
        m_priorDb = SongLevelDb();
    m_gatedSum = m_gatedBlocks = 0;
    m_relativeSum = 0;
    m_blocksCounted = 0;
    m_blockSquares = 0;
    m_blockFrames = 0;
    m_targetGain = m_gain = LevelingGain(m_priorDb);
    m_gainStep = 0;
}

float Loudness::SongLevelDb() const {
    if (m_blocksCounted == 0)
        return m_priorDb;
    // The song's own level takes over from the one it started from over its first seconds, so that
    // a soft opening is not blown up. But a song louder than that is turned down as soon as it is
    // heard: left at the gain of a quieter song before it, its first seconds would be pressed into
    // the limiter.
    const float heard = 10.0f * std::log10(static_cast<float>(m_relativeSum / m_blocksCounted));
    const float weight = heard > m_priorDb ? 1.0f : std::min(1.0f, m_blocksCounted / kSettleBlocks);
    return (1.0f - weight) * m_priorDb + weight * heard;
}

void Loudness::EndBlock() {
    const double power = m_blockSquares / (2.0 * kBlock);
    m_blockSquares = 0;
    m_blockFrames = 0;
    // Silence says nothing about the song's level, nor do passages far below it (the way
    // broadcast loudness is gated).
    if (power < kSilence)
        return;
    m_gatedSum += power;
    ++m_gatedBlocks;
    if (power < kRelativeGate * (m_gatedSum / m_gatedBlocks))
        return;
    m_relativeSum += power;
    ++m_blocksCounted;
    m_targetGain = LevelingGain(SongLevelDb());
    m_gainStep = (m_targetGain - m_gain) / kBlock;
}

float Loudness::LimitGain(float peak) const {
    if (peak <= m_knee)
        return 1.0f;
    // Above the knee the output level bends towards the ceiling and never reaches it.
    const float inDb = 20.0f * std::log10(peak);
    const float range = m_ceilingDb - kKneeDb;
    const float outDb = kKneeDb + range * (1.0f - std::exp(-(inDb - kKneeDb) / range));
    return std::pow(10.0f, (outDb - inDb) / 20.0f);
}

void Loudness::Process(float* left, float* right, std::size_t frames) {
    if (!m_started) {
        NewSong();
        m_started = true;
    }
    for (std::size_t i = 0; i < frames; ++i) {
        m_blockSquares += static_cast<double>(left[i]) * left[i] + static_cast<double>(right[i]) * right[i];
        if (m_blockFrames < kBlock - 1)
            m_gain += m_gainStep;
        else
            m_gain = m_targetGain;
        if (++m_blockFrames == kBlock)
            EndBlock();

        const float inLeft = left[i] * m_gain, inRight = right[i] * m_gain;
        const float wanted = LimitGain(std::max(std::fabs(inLeft), std::fabs(inRight)));
        m_wanted[m_position] = wanted;
        m_delayLeft[m_position] = inLeft;
        m_delayRight[m_position] = inRight;
        if (wanted < 1.0f)
            m_sinceLimited = 0;
        else if (m_sinceLimited < kLookahead)
            ++m_sinceLimited;

        // The lowest gain any frame in the window wants, held for the window, then released
        // slowly; averaged over the window, it has come down fully by the time the frame that
        // wanted it leaves the delay.
        float held = 1.0f;
        if (m_sinceLimited < kLookahead)
            held = *std::min_element(m_wanted, m_wanted + kLookahead);
        m_release = std::min(held, m_release + (1.0f - m_release) * m_releaseStep);
        m_smoothedSum += m_release - m_smoothed[m_position];
        m_smoothed[m_position] = m_release;
        if (m_release == 1.0f && m_sinceLimited >= kLookahead && m_smoothedSum > kLookahead - 1e-3)
            m_smoothedSum = kLookahead; // no rounding left over once the window is all ones again
        const float applied = std::min(1.0f, static_cast<float>(m_smoothedSum / kLookahead));
        if (applied < 0.891f)
            m_framesEased.fetch_add(1, std::memory_order_relaxed);

        m_position = (m_position + 1) % kLookahead;
        left[i] = m_delayLeft[m_position] * applied;
        right[i] = m_delayRight[m_position] * applied;
    }
}

} // namespace mci
