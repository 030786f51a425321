#include "platform/midi/TrackParser.h"

#include <algorithm>

namespace midi::detail {

namespace {

enum class VlqStatus { Ok, Truncated, TooLong };

// Variable-length quantities of the file format have at most four bytes (28 bits).
VlqStatus ReadVlq(const std::uint8_t* data, std::size_t& pos, std::size_t end, std::uint32_t& value) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
        if (pos >= end)
            return VlqStatus::Truncated;
        const std::uint8_t b = data[pos++];
        v = (v << 7) | (b & 0x7F);
        if ((b & 0x80) == 0) {
            value = v;
            return VlqStatus::Ok;
        }
    }
    return VlqStatus::TooLong;
}

// Data bytes that follow a system common status on the wire. Such messages have no meaning in a
// file, but some files carry them; skipping their data keeps the following delta time in step.
int SystemCommonDataBytes(std::uint8_t status) {
    switch (status) {
    case 0xF1:
    case 0xF3:
        return 1;
    case 0xF2:
        return 2;
    default:
        return 0;
    }
}

} // namespace

TrackReader::TrackReader(std::span<const std::uint8_t> file, std::size_t begin, std::size_t end,
                         std::uint16_t track, std::uint64_t startTick, std::vector<std::uint8_t>* payload,
                         RepairLog* repairs)
    : m_data(file.data()), m_pos(begin), m_end(end), m_tick(startTick), m_lastTick(startTick),
      m_payload(payload), m_repairs(repairs), m_track(track) {}

// Works out the event's ordering phase: the note-offs a track begins a tick with play before the
// other events of that tick (PlaysBefore).
void TrackReader::Fill(Event& out, std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    out.tick = m_tick;
    out.micros = 0;
    out.payloadOffset = 0;
    out.payloadSize = 0;
    out.track = m_track;
    out.status = status;
    out.data1 = data1;
    out.data2 = data2;
    if (m_tick != m_phaseTick) {
        m_phaseTick = m_tick;
        m_leading = true;
    }
    m_leading = m_leading && out.IsNoteOff();
    out.phase = m_leading ? 0 : 1;
    m_lastTick = m_tick;
}

void TrackReader::AttachPayload(Event& out, const std::uint8_t* bytes, std::size_t size) {
    if (m_payload == nullptr)
        return;
    out.payloadOffset = static_cast<std::uint32_t>(m_payload->size());
    out.payloadSize = static_cast<std::uint32_t>(size);
    m_payload->insert(m_payload->end(), bytes, bytes + size);
}

bool TrackReader::Stop(std::size_t resumeAt) {
    m_pos = resumeAt;
    m_done = true;
    return false;
}

bool TrackReader::Next(Event& out) {
    const std::uint8_t* const data = m_data;
    const std::size_t end = m_end;
    std::size_t pos = m_pos;
    while (!m_done) {
        if (pos >= end) {
            if (!m_endOfTrack)
                Note(end, "the track has no end-of-track event");
            return Stop(pos);
        }
        const std::size_t eventStart = pos;
        std::uint32_t delta = 0;
        const VlqStatus deltaStatus = ReadVlq(data, pos, end, delta);
        if (deltaStatus == VlqStatus::TooLong) {
            Note(eventStart, "a delta time is longer than four bytes; the track was cut there");
            return Stop(eventStart);
        }
        if (deltaStatus == VlqStatus::Truncated || pos >= end) {
            Note(eventStart, "the track ends inside an event");
            return Stop(eventStart);
        }
        m_tick += delta;

        std::uint8_t status = data[pos];
        if (status >= 0x80) {
            ++pos;
        } else if (m_running != 0) {
            status = m_running;
        } else {
            Note(pos, "a data byte comes where a status was expected; the track was cut there");
            return Stop(eventStart);
        }

        if (status < 0xF0) {
            // Running status is kept across meta, sysex and stray system messages, as the players
            // that real files were checked against do; files interrupting a scale with a lyric or a
            // sysex and going on without a status byte rely on that.
            m_running = status;
            const bool oneDataByte = (status & 0xE0) == 0xC0;
            const std::size_t need = oneDataByte ? 1 : 2;
            if (end - pos < need) {
                Note(eventStart, "the track ends inside a channel message");
                return Stop(eventStart);
            }
            std::uint8_t d1 = data[pos];
            std::uint8_t d2 = oneDataByte ? 0 : data[pos + 1];
            if (((d1 | d2) & 0x80) != 0) {
                Note(pos, "a channel message has a data byte above 127");
                d1 &= 0x7F;
                d2 &= 0x7F;
            }
            m_pos = pos + need;
            Fill(out, status, d1, d2);
            return true;
        }

        if (status == 0xF0 || status == 0xF7) {
            std::uint32_t length = 0;
            if (ReadVlq(data, pos, end, length) != VlqStatus::Ok || end - pos < length) {
                Note(eventStart, "a sysex message runs past the end of the track");
                return Stop(eventStart);
            }
            const std::uint8_t* bytes = data + pos;
            std::size_t size = length;
            m_pos = pos + length;
            bool complete = false;
            if (status == 0xF0 && size > 0 && bytes[size - 1] == 0xF7) {
                // The synthesiser wants the message without its F0 and F7 frame.
                complete = true;
                --size;
            }
            Fill(out, status, complete ? 1 : 0, 0);
            AttachPayload(out, bytes, size);
            return true;
        }

        if (status == 0xFF) {
            if (pos >= end) {
                Note(eventStart, "the track ends inside a meta event");
                return Stop(eventStart);
            }
            const std::uint8_t type = data[pos++];
            std::uint32_t length = 0;
            const VlqStatus lengthStatus = ReadVlq(data, pos, end, length);
            if (type == meta::kEndOfTrack && lengthStatus != VlqStatus::TooLong) {
                // An end of track cut off after its type byte still ends the track where it says.
                if (lengthStatus == VlqStatus::Ok)
                    pos += std::min<std::size_t>(length, end - pos);
                else
                    Note(eventStart, "the end-of-track event is cut short");
                m_endOfTrack = true;
                m_done = true;
                m_pos = pos;
                Fill(out, 0xFF, type, 0);
                return true;
            }
            if (lengthStatus != VlqStatus::Ok || end - pos < length) {
                Note(eventStart, "a meta event runs past the end of the track");
                return Stop(eventStart);
            }
            const std::uint8_t* bytes = data + pos;
            m_pos = pos + length;
            if (type == meta::kTempo && length < 3)
                Note(eventStart, "a tempo event has fewer than three bytes; it was ignored");
            Fill(out, 0xFF, type, 0);
            AttachPayload(out, bytes, length);
            return true;
        }

        // F1..F6 and F8..FE are wire messages that have no place in a file. They are dropped with
        // their data bytes, and the track goes on: the notes around them must still sound.
        Note(eventStart, "a system message that does not belong in a file was skipped");
        for (int i = SystemCommonDataBytes(status); i > 0 && pos < end && data[pos] < 0x80; --i)
            ++pos;
    }
    return false;
}

} // namespace midi::detail
