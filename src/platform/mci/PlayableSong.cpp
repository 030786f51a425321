#include "platform/mci/PlayableSong.h"

#include <algorithm>
#include <limits>
#include <map>

#include "platform/mci/MidiSink.h"
#include "platform/midi/MidiFile.h"

namespace mci {

namespace {

// A system exclusive message that has come in parts; the reader caps the file at 64 MiB, and a
// message is kept no larger than this, which no real device would accept anyway.
constexpr std::size_t kMaxSysexSize = 1 << 20;

std::size_t ChannelMessageSize(std::uint8_t status) {
    return (status & 0xE0) == 0xC0 ? 2 : 3;
}

class Builder {
public:
    explicit Builder(PlayableSong& out) : m_out(out) {}

    void Channel(std::uint64_t frame, std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
        m_out.events.push_back(SongEvent{frame, 0, 0, status, data1, data2});
    }

    void Sysex(std::uint64_t frame, std::span<const std::uint8_t> body) {
        if (body.empty() || body.size() > kMaxSysexSize)
            return;
        SongEvent event{frame,
                        static_cast<std::uint32_t>(m_out.payload.size()),
                        static_cast<std::uint32_t>(body.size()),
                        0xF0,
                        0,
                        0};
        m_out.payload.insert(m_out.payload.end(), body.begin(), body.end());
        m_out.events.push_back(event);
    }

    // An F0 event: complete, or the first packet of a message the track continues with F7 events.
    void Start(std::uint64_t frame, std::uint16_t track, bool complete, std::span<const std::uint8_t> body) {
        m_pending.erase(track);
        if (complete)
            Sysex(frame, body);
        else
            m_pending[track].assign(body.begin(), body.end());
    }

    // An F7 event: the next packet of a split message, or an escape of arbitrary bytes.
    void Escape(std::uint64_t frame, std::uint16_t track, std::span<const std::uint8_t> bytes) {
        auto pending = m_pending.find(track);
        if (pending != m_pending.end()) {
            std::vector<std::uint8_t>& body = pending->second;
            const bool last = !bytes.empty() && bytes.back() == 0xF7;
            body.insert(body.end(), bytes.begin(), last ? bytes.end() - 1 : bytes.end());
            if (last || body.size() > kMaxSysexSize) {
                if (last)
                    Sysex(frame, body);
                m_pending.erase(pending);
            }
            return;
        }
        if (bytes.size() >= 2 && bytes.front() == 0xF0 && bytes.back() == 0xF7) {
            Sysex(frame, bytes.subspan(1, bytes.size() - 2));
            return;
        }
        if (!bytes.empty() && bytes[0] >= 0x80 && bytes[0] < 0xF0 &&
            bytes.size() == ChannelMessageSize(bytes[0])) {
            const std::uint8_t data1 = bytes[1] & 0x7F;
            const std::uint8_t data2 = bytes.size() > 2 ? bytes[2] & 0x7F : 0;
            Channel(frame, bytes[0], data1, data2);
        }
    }

private:
    PlayableSong& m_out;
    std::map<std::uint16_t, std::vector<std::uint8_t>> m_pending;
};

} // namespace

std::size_t PlayableSong::FirstEventAt(std::uint64_t frame) const {
    const auto it = std::lower_bound(events.begin(), events.end(), frame,
                                     [](const SongEvent& event, std::uint64_t f) { return event.frame < f; });
    return static_cast<std::size_t>(it - events.begin());
}

std::uint64_t FrameOfMs(std::uint32_t ms) {
    return (std::uint64_t{ms} * kSampleRate + 999) / 1000;
}

std::uint32_t MsOfFrame(std::uint64_t frame) {
    const std::uint64_t ms = frame * 1000 / kSampleRate;
    return ms > std::numeric_limits<std::uint32_t>::max() ? std::numeric_limits<std::uint32_t>::max()
                                                          : static_cast<std::uint32_t>(ms);
}

PlayableSong BuildPlayableSong(const midi::Song& song) {
    PlayableSong out;
    out.format = song.format;
    out.trackCount = static_cast<std::uint32_t>(std::max(song.tracksRead, 1));
    out.events.reserve(song.events.size());
    Builder builder(out);
    for (const midi::Event& event : song.events) {
        if (event.IsMeta())
            continue;
        const std::uint64_t frame = song.tempo.FrameAt(event.tick, kSampleRate);
        if (event.IsChannel())
            builder.Channel(frame, event.status, event.data1, event.data2);
        else if (event.status == 0xF0)
            builder.Start(frame, event.track, event.data1 != 0, song.PayloadOf(event));
        else if (event.status == 0xF7)
            builder.Escape(frame, event.track, song.PayloadOf(event));
    }
    out.endFrame = song.tempo.FrameAt(song.lengthTicks, kSampleRate);
    if (!out.events.empty())
        out.endFrame = std::max(out.endFrame, out.events.back().frame);
    const std::uint64_t lengthMs = song.lengthMicros / 1000;
    out.lengthMs = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(lengthMs, std::numeric_limits<std::uint32_t>::max()));
    return out;
}

} // namespace mci
