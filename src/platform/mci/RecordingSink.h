#pragma once

// A MidiSink that writes down every message with the frame at which it arrived, optionally
// passing everything on to another sink. It allocates as it records, so it belongs to offline
// rendering (tests, benchmarks), never to the live audio thread.

#include <cstdint>
#include <vector>

#include "platform/mci/MidiSink.h"

namespace mci {

struct RecordedMessage {
    std::uint64_t frame = 0; // frames rendered before the message arrived
    std::uint8_t status = 0; // 0xF0 for a system exclusive message
    std::uint8_t data1 = 0;
    std::uint8_t data2 = 0;
    std::vector<std::uint8_t> sysex; // the body of a system exclusive message

    bool IsNoteOn() const { return (status & 0xF0) == 0x90 && data2 != 0; }
};

class RecordingSink final : public MidiSink {
public:
    // With forwardTo set, every message and render is passed on; without it, renders are silence.
    explicit RecordingSink(MidiSink* forwardTo = nullptr);

    void ShortMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override;
    void SystemExclusive(std::span<const std::uint8_t> body) override;
    void Render(float* left, float* right, std::size_t frames) override;
    void PrepareFor(const PlayableSong& song) override;

    const std::vector<RecordedMessage>& Messages() const { return m_messages; }
    std::uint64_t FramesRendered() const { return m_frames; }
    void Clear() { m_messages.clear(); }

private:
    MidiSink* m_forward;
    std::uint64_t m_frames = 0;
    std::vector<RecordedMessage> m_messages;
};

} // namespace mci
