#pragma once

// Internal to the reader: reads the events of one MTrk chunk one at a time, so that the tracks of
// a song can be merged into play order as they are read, without a second copy of all events.
// Not part of the public interface; the device and tools use MidiFile.h.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

#include "platform/midi/MidiFile.h"

namespace midi::detail {

// Keeps the first few things the reader tolerated; later ones are dropped so that a file full of
// junk cannot make the list grow with it.
class RepairLog {
public:
    explicit RepairLog(std::vector<ReadError>& out) : m_out(out) {}
    void Note(std::size_t offset, const char* detail) {
        if (m_out.size() < Song::kMaxRepairs)
            m_out.push_back(ReadError{ReadErrorKind::Damaged, offset, detail});
    }

private:
    std::vector<ReadError>& m_out;
};

class TrackReader {
public:
    // Reads file[begin, end) as track number `track` whose first event is at `startTick`. Payloads
    // are appended to `payload` and repairs noted in `repairs`; either may be null when only the
    // track's shape is wanted.
    TrackReader(std::span<const std::uint8_t> file, std::size_t begin, std::size_t end, std::uint16_t track,
                std::uint64_t startTick, std::vector<std::uint8_t>* payload, RepairLog* repairs);

    // The next event in file order, or false when the track has ended (at its end-of-track event,
    // at the end of its bytes, or where it breaks off).
    bool Next(Event& out);

    std::uint64_t LastTick() const { return m_lastTick; } // the start tick while nothing was read
    bool EndedWithEndOfTrack() const { return m_endOfTrack; }
    std::size_t StoppedAt() const { return m_pos; } // first byte not consumed, once ended

private:
    void Note(std::size_t offset, const char* detail) {
        if (m_repairs != nullptr)
            m_repairs->Note(offset, detail);
    }
    void Fill(Event& out, std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
    void AttachPayload(Event& out, const std::uint8_t* bytes, std::size_t size);
    bool Stop(std::size_t resumeAt);

    const std::uint8_t* m_data;
    std::size_t m_pos;
    std::size_t m_end;
    std::uint64_t m_tick;
    std::uint64_t m_lastTick;
    std::vector<std::uint8_t>* m_payload;
    RepairLog* m_repairs;
    std::uint16_t m_track;
    std::uint8_t m_running = 0;
    bool m_done = false;
    bool m_endOfTrack = false;
    // The tick of the last event and whether every event so far on it was a note-off.
    std::uint64_t m_phaseTick = std::numeric_limits<std::uint64_t>::max();
    bool m_leading = true;
};

} // namespace midi::detail
