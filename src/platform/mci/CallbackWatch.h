#pragma once

// Decides when an audio callback that has gone quiet means the sound stream is gone. A server that
// dies leaves the driver's thread without a stream, and the callback stops for good; a living
// server can also hold the callback back for a while: a new stream's first block waits until the
// server has set up its latency, which on PulseAudio's null sink took up to 2.8 s (measured under a
// virtual desktop), and a busy machine delays the blocks of a flowing stream. So a stream whose
// sound has not been seen flowing yet gets a longer grace than one that played and stopped.

#include <chrono>
#include <cstdint>

namespace mci {

class CallbackWatch {
public:
    using Clock = std::chrono::steady_clock;

    // Silence this long means a flowing stream is gone, and this long a stream still starting.
    static constexpr Clock::duration kFlowingLimit = std::chrono::seconds(3);
    static constexpr Clock::duration kStartingLimit = std::chrono::seconds(6);

    // There is no stream, or a new one has just been opened: it counts as starting.
    void Restart(std::uint64_t renderedFrames, Clock::time_point now);
    // One look at the engine's rendered frames while a stream exists; true when it counts as gone.
    bool Gone(std::uint64_t renderedFrames, Clock::time_point now);
    // Whether the stream's sound was seen flowing, and how long the callback has been silent.
    bool Flowing() const { return m_advances >= 2; }
    Clock::duration SilentFor(Clock::time_point now) const { return now - m_lastProgress; }

private:
    std::uint64_t m_frames = 0;
    Clock::time_point m_lastProgress{};
    // Looks that found the frames advanced since the stream opened: the first block is rendered at
    // once, before the server asks for more, so only a second advance shows the sound flowing.
    int m_advances = 0;
};

} // namespace mci
