#pragma once

// A song as the real-time sequencer plays it: only what reaches the synthesiser (channel messages
// and whole system exclusive messages), each with the sample frame it sounds at. It is built once
// on the control thread when the song is opened and never changes afterwards, so the audio thread
// can read it without any care.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace midi {
struct Song;
}

namespace mci {

struct SongEvent {
    std::uint64_t frame = 0;
    std::uint32_t payloadOffset = 0; // system exclusive body in PlayableSong::payload
    std::uint32_t payloadSize = 0;
    std::uint8_t status = 0; // 0x80..0xEF, or 0xF0 for a system exclusive message
    std::uint8_t data1 = 0;
    std::uint8_t data2 = 0;

    bool IsSysex() const { return status == 0xF0; }
};

struct PlayableSong {
    std::vector<SongEvent> events; // in play order; frames never decrease
    std::vector<std::uint8_t> payload;
    std::uint64_t endFrame = 0; // the frame of the song's last event, end of track included
    std::uint32_t lengthMs = 0; // the song's length as the device reports it
    std::uint32_t trackCount = 1;
    int format = 0;

    std::span<const std::uint8_t> PayloadOf(const SongEvent& event) const {
        return std::span<const std::uint8_t>(payload).subspan(event.payloadOffset, event.payloadSize);
    }
    // The index of the first event at or after the frame.
    std::size_t FirstEventAt(std::uint64_t frame) const;
};

// Frames and milliseconds at kSampleRate. A position given in milliseconds becomes the first frame
// that is not before it, so that turning it back gives the same number of milliseconds.
std::uint64_t FrameOfMs(std::uint32_t ms);
std::uint32_t MsOfFrame(std::uint64_t frame);

// Meta events are left out; a system exclusive message split into F0 and F7 packets is joined and
// sent when its last packet arrives; an F7 escape that holds a whole channel message or a whole
// system exclusive message is sent as that, other escapes are dropped.
PlayableSong BuildPlayableSong(const midi::Song& song);

} // namespace mci
