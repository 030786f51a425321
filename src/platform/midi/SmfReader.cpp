#include <algorithm>
#include <cstdint>
#include <limits>

#include <sys/mman.h>

#include "platform/midi/Container.h"
#include "platform/midi/MidiFile.h"
#include "platform/midi/TrackMerge.h"
#include "platform/midi/TrackParser.h"

namespace midi {

namespace {

using detail::HasTag;
using detail::IsChunkId;

// Track numbers are 16-bit in events; no real song comes near this many tracks.
constexpr int kMaxTracks = std::numeric_limits<std::uint16_t>::max();

std::uint32_t ReadBe32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

std::uint16_t ReadBe16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

// Start of the chunk after one whose data begins at dataBegin and is `length` bytes long, without
// overflowing on absurd lengths.
std::size_t ChunkEnd(std::size_t dataBegin, std::uint32_t length, std::size_t end) {
    return dataBegin + std::min<std::size_t>(length, end - std::min(dataBegin, end));
}

// Reads the header chunk into the song and returns the offset of the first chunk after it.
Result<std::size_t> ReadHeader(std::span<const std::uint8_t> file, const detail::SmfLocation& where,
                               Song& song, detail::RepairLog& repairs) {
    const std::size_t h = where.begin;
    if (where.end - h < 14)
        return ReadError{ReadErrorKind::Damaged, where.end, "the MIDI header is cut short"};
    const std::uint8_t* p = file.data() + h;
    const std::uint32_t headerLength = ReadBe32(p + 4);
    if (headerLength < 6)
        return ReadError{ReadErrorKind::Damaged, h + 4, "the MIDI header is shorter than six bytes"};
    song.format = ReadBe16(p + 8);
    song.declaredTracks = ReadBe16(p + 10);
    song.rawDivision = ReadBe16(p + 12);
    if ((song.rawDivision & 0x8000) != 0) {
        // The high byte is the negative frame rate in two's complement, the low byte ticks per frame.
        song.smpte = true;
        song.smpteFramesPerSecond = -static_cast<int>(static_cast<std::int8_t>(song.rawDivision >> 8));
        song.ticksPerFrame = song.rawDivision & 0xFF;
        if (song.ticksPerFrame == 0)
            return ReadError{ReadErrorKind::Damaged, h + 12, "the time division has zero ticks per frame"};
        song.tempo = TempoMap::ForSmpte(static_cast<std::uint32_t>(song.smpteFramesPerSecond),
                                        static_cast<std::uint32_t>(song.ticksPerFrame));
    } else {
        song.ticksPerQuarter = song.rawDivision;
        if (song.ticksPerQuarter == 0)
            return ReadError{ReadErrorKind::Damaged, h + 12, "the time division is zero"};
        song.tempo = TempoMap::ForTicksPerQuarter(static_cast<std::uint32_t>(song.ticksPerQuarter));
    }

    std::size_t firstChunk = ChunkEnd(h + 8, headerLength, where.end);
    if (headerLength != 6 && !IsChunkId(file, firstChunk) && HasTag(file, h + 14, "MTrk")) {
        repairs.Note(h + 4, "the MIDI header length is wrong; the first track follows six bytes of header");
        firstChunk = h + 14;
    }
    return firstChunk;
}

// A dense song has millions of events; taking their memory in 2 MiB pages instead of 4 KiB ones
// saves a page fault every 128 events, which is most of the time spent storing them. Only memory
// actually written is ever backed, and where the kernel declines, nothing changes.
void AdviseHugePages(void* data, std::size_t bytes) {
    constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
    if (bytes < 2 * kHugePage)
        return;
    const std::uintptr_t begin = (reinterpret_cast<std::uintptr_t>(data) + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(kHugePage - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

struct TrackLayout {
    std::size_t begin;
    std::size_t end;
    std::uint64_t startTick;
};

// Reads a track only to learn where it ends and its last tick, noting nothing.
detail::TrackReader Skim(std::span<const std::uint8_t> file, const TrackLayout& track) {
    detail::TrackReader reader(file, track.begin, track.end, 0, track.startTick, nullptr, nullptr);
    Event scratch;
    while (reader.Next(scratch)) {
    }
    return reader;
}

Result<Song> ReadSmf(std::span<const std::uint8_t> file, const detail::SmfLocation& where, Song song) {
    detail::RepairLog repairs(song.repairs);
    MIDI_TRY(std::size_t pos, ReadHeader(file, where, song, repairs));

    // First the layout of the tracks. Only format 2, whose tracks follow one another, and files
    // whose chunk lengths do not add up need a track read ahead to know where the next one begins.
    std::vector<TrackLayout> layout;
    const bool sequential = song.format == 2;
    std::uint64_t nextStart = 0;
    const std::size_t end = where.end;
    while (pos < end && end - pos >= 8) {
        const std::uint32_t length = ReadBe32(file.data() + pos + 4);
        const std::size_t dataBegin = pos + 8;
        const std::size_t declaredEnd = ChunkEnd(dataBegin, length, end);

        if (HasTag(file, pos, "MTrk")) {
            if (layout.size() == kMaxTracks) {
                repairs.Note(pos, "more than 65535 tracks; the rest were ignored");
                break;
            }
            if (std::size_t{length} > end - dataBegin)
                repairs.Note(pos + 4, "the track length runs past the end of the file");
            const TrackLayout track{dataBegin, declaredEnd, sequential ? nextStart : 0};
            layout.push_back(track);
            pos = declaredEnd;
            // A track whose length was written wrong may have the next track right after its
            // end-of-track event; find it there rather than lose it.
            const bool lengthSuspect = !IsChunkId(file, declaredEnd) &&
                                       detail::FindTag(file, dataBegin, declaredEnd, "MTrk") != declaredEnd;
            if (sequential || lengthSuspect) {
                const detail::TrackReader shape = Skim(file, track);
                nextStart = shape.LastTick();
                if (lengthSuspect && shape.EndedWithEndOfTrack() && HasTag(file, shape.StoppedAt(), "MTrk"))
                    pos = shape.StoppedAt();
            }
            continue;
        }
        if (IsChunkId(file, pos)) {
            repairs.Note(pos, "a chunk of unknown type was skipped");
            pos = declaredEnd;
            continue;
        }
        // Not a chunk: junk between or after the tracks. Another track may still follow it.
        const std::size_t next = detail::FindTag(file, pos + 1, end, "MTrk");
        if (next == end) {
            repairs.Note(pos, "data after the last track was ignored");
            break;
        }
        repairs.Note(pos, "junk between tracks was skipped");
        pos = next;
    }
    if (pos < end && end - pos < 8 && !layout.empty())
        repairs.Note(pos, "data after the last track was ignored");

    song.tracksRead = static_cast<int>(layout.size());
    if (song.tracksRead == 0 && song.declaredTracks > 0)
        return ReadError{ReadErrorKind::Damaged, std::min(pos, end), "no track found"};
    if (song.tracksRead != song.declaredTracks)
        repairs.Note(where.begin + 10, "the header declares a different number of tracks");

    // Then the events, merged into play order as they are read. Every event takes at least two
    // bytes of the file, so the reservation is an upper bound; it costs only address space until
    // events are written into it.
    const std::size_t span = end - where.begin;
    song.events.reserve(span / 2 + 1);
    AdviseHugePages(song.events.data(), song.events.capacity() * sizeof(Event));
    song.payload.reserve(span);
    std::vector<detail::TrackReader> readers;
    readers.reserve(layout.size());
    for (std::size_t i = 0; i < layout.size(); ++i)
        readers.emplace_back(file, layout[i].begin, layout[i].end, static_cast<std::uint16_t>(i),
                             layout[i].startTick, &song.payload, &repairs);
    // Each event gets its time as it comes, and tempo changes join the map in play order. Every
    // event after a tempo change in play order starts at or after it, so each time is computed from
    // exactly the changes before it.
    detail::MergeTracks(readers, [&song](const Event& e) {
        Event& stored = song.events.emplace_back(e);
        stored.micros = song.tempo.MicrosAt(e.tick);
        if (e.status == 0xFF && e.data1 == meta::kTempo && e.payloadSize >= 3) {
            const std::uint8_t* p = song.payload.data() + e.payloadOffset;
            song.tempo.AddTempoChange(e.tick,
                                      (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2]);
        }
    });
    if (!song.events.empty()) {
        song.lengthTicks = song.events.back().tick;
        song.lengthMicros = song.events.back().micros;
    }
    return song;
}

} // namespace

Result<Song> ParseMidi(std::span<const std::uint8_t> bytes) {
    if (bytes.size() > kMaxFileSize)
        return ReadError{ReadErrorKind::TooLarge, kMaxFileSize, "larger than 64 MiB"};
    Song song;
    detail::RepairLog repairs(song.repairs);
    MIDI_TRY(const detail::SmfLocation where, detail::LocateSmf(bytes, repairs));
    song.rmid = where.rmid;
    return ReadSmf(bytes, where, std::move(song));
}

} // namespace midi
