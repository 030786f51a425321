#include "demogen/Smf.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>
#include <utility>

namespace demogen {
namespace {

void Require(bool condition, const char* what) {
    if (!condition)
        throw std::invalid_argument(what);
}

void AppendBigEndian(Bytes& out, std::uint32_t value, int bytes) {
    for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void AppendLittleEndian32(Bytes& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

// A loop rather than insert(): GCC 12 warns wrongly about inserting into an empty vector here.
void AppendTag(Bytes& out, const char (&tag)[5]) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(tag[i]));
}

bool IsChannelMessage(std::uint8_t status) {
    return status >= 0x80 && status < 0xF0;
}

} // namespace

void AppendVarLen(Bytes& out, std::uint32_t value) {
    Require(value <= 0x0FFFFFFF, "a variable-length quantity holds at most 28 bits");
    std::uint8_t groups[4];
    int count = 0;
    do {
        groups[count++] = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    while (count > 1)
        out.push_back(static_cast<std::uint8_t>(groups[--count] | 0x80));
    out.push_back(groups[0]);
}

Track::Track(std::string_view name) {
    Meta(0, kName, 0x03, name);
}

void Track::Add(std::uint32_t tick, Rank rank, Bytes bytes) {
    m_events.push_back(Event{tick, rank, m_events.size(), std::move(bytes)});
}

void Track::Meta(std::uint32_t tick, Rank rank, std::uint8_t type, std::string_view data) {
    Bytes bytes{0xFF, type};
    AppendVarLen(bytes, static_cast<std::uint32_t>(data.size()));
    bytes.insert(bytes.end(), data.begin(), data.end());
    Add(tick, rank, std::move(bytes));
}

void Track::Text(std::uint32_t tick, std::string_view text) {
    Meta(tick, kMeta, 0x01, text);
}

void Track::Lyric(std::uint32_t tick, std::string_view text) {
    Meta(tick, kMeta, 0x05, text);
}

void Track::Tempo(std::uint32_t tick, double quartersPerMinute) {
    Require(quartersPerMinute >= 4 && quartersPerMinute <= 1000, "tempo out of range");
    const auto micros = static_cast<std::uint32_t>(std::lround(60'000'000.0 / quartersPerMinute));
    const char data[3] = {static_cast<char>(micros >> 16), static_cast<char>(micros >> 8),
                          static_cast<char>(micros)};
    Meta(tick, kMeta, 0x51, std::string_view(data, 3));
}

void Track::TimeSignature(std::uint32_t tick, int numerator, int denominator) {
    int power = 0;
    while ((1 << power) < denominator)
        ++power;
    Require(numerator > 0 && numerator < 64 && (1 << power) == denominator, "bad time signature");
    // 24 MIDI clocks per metronome click on the quarter, 8 thirty-seconds per quarter.
    const char clocks = static_cast<char>(denominator == 8 ? 36 : 24);
    const char data[4] = {static_cast<char>(numerator), static_cast<char>(power), clocks, 8};
    Meta(tick, kMeta, 0x58, std::string_view(data, 4));
}

void Track::KeySignature(std::uint32_t tick, int sharps, bool minor) {
    Require(sharps >= -7 && sharps <= 7, "bad key signature");
    const char data[2] = {static_cast<char>(sharps), static_cast<char>(minor ? 1 : 0)};
    Meta(tick, kMeta, 0x59, std::string_view(data, 2));
}

void Track::SysEx(std::uint32_t tick, const Bytes& body) {
    Require(!body.empty() && body.back() == 0xF7, "a system exclusive message ends with F7");
    Bytes bytes{0xF0};
    AppendVarLen(bytes, static_cast<std::uint32_t>(body.size()));
    bytes.insert(bytes.end(), body.begin(), body.end());
    Add(tick, kSysEx, std::move(bytes));
}

void Track::Program(std::uint32_t tick, int channel, int program) {
    Require(channel >= 0 && channel < 16 && program >= 0 && program < 128, "bad program change");
    Add(tick, kSetup, {static_cast<std::uint8_t>(0xC0 | channel), static_cast<std::uint8_t>(program)});
}

void Track::Control(std::uint32_t tick, int channel, int controller, int value) {
    Require(channel >= 0 && channel < 16 && controller >= 0 && controller < 120 && value >= 0 && value < 128,
            "bad controller change");
    Add(tick, kSetup,
        {static_cast<std::uint8_t>(0xB0 | channel), static_cast<std::uint8_t>(controller),
         static_cast<std::uint8_t>(value)});
}

void Track::Note(std::uint32_t tick, std::uint32_t length, int channel, int key, int velocity) {
    Require(channel >= 0 && channel < 16, "bad channel");
    Require(key >= 0 && key < 128, "note out of the MIDI range");
    Require(velocity > 0 && velocity < 128, "note velocity out of range");
    Require(length > 0, "a note needs a length");
    const auto k = static_cast<std::uint8_t>(key);
    Add(tick, kNoteOn, {static_cast<std::uint8_t>(0x90 | channel), k, static_cast<std::uint8_t>(velocity)});
    Add(tick + length, kNoteOff, {static_cast<std::uint8_t>(0x80 | channel), k, 0x40});
}

void Track::EndAtLeast(std::uint32_t tick) {
    m_end = std::max(m_end, tick);
}

void Track::Absorb(const Track& other) {
    for (const Event& event : other.m_events) {
        if (event.rank != kName)
            Add(event.tick, event.rank, event.bytes);
    }
    EndAtLeast(other.m_end);
}

std::uint32_t Track::EndTick() const {
    std::uint32_t end = m_end;
    for (const Event& event : m_events)
        end = std::max(end, event.tick);
    return end;
}

// Two notes of the same key on the same channel that overlap would be cut short by the first one's
// note-off; that is always a slip in the score, so it stops the generator.
void Track::CheckNoOverlappingNotes() const {
    std::map<std::pair<int, int>, int> sounding;
    std::vector<const Event*> sorted;
    for (const Event& event : m_events)
        sorted.push_back(&event);
    std::stable_sort(sorted.begin(), sorted.end(), [](const Event* a, const Event* b) {
        return a->tick != b->tick ? a->tick < b->tick : a->rank < b->rank;
    });
    for (const Event* event : sorted) {
        const std::uint8_t status = event->bytes[0] & 0xF0;
        if (status != 0x80 && status != 0x90)
            continue;
        int& count = sounding[{event->bytes[0] & 0x0F, event->bytes[1]}];
        count += status == 0x90 ? 1 : -1;
        if (count > 1)
            throw std::logic_error("overlapping notes on key " + std::to_string(event->bytes[1]) +
                                   " at tick " + std::to_string(event->tick));
    }
}

Bytes Track::Encode(const EncodeOptions& options) const {
    CheckNoOverlappingNotes();
    std::vector<const Event*> sorted;
    for (const Event& event : m_events)
        sorted.push_back(&event);
    std::sort(sorted.begin(), sorted.end(), [](const Event* a, const Event* b) {
        if (a->tick != b->tick)
            return a->tick < b->tick;
        if (a->rank != b->rank)
            return a->rank < b->rank;
        return a->order < b->order;
    });

    Bytes body;
    std::uint32_t now = 0;
    std::uint8_t runningStatus = 0;
    for (const Event* event : sorted) {
        AppendVarLen(body, event->tick - now);
        now = event->tick;
        Bytes bytes = event->bytes;
        if (options.noteOffAsZeroVelocity && (bytes[0] & 0xF0) == 0x80) {
            bytes[0] = static_cast<std::uint8_t>(0x90 | (bytes[0] & 0x0F));
            bytes[2] = 0;
        }
        if (IsChannelMessage(bytes[0])) {
            const bool repeat = options.runningStatus && bytes[0] == runningStatus;
            runningStatus = bytes[0];
            body.insert(body.end(), bytes.begin() + (repeat ? 1 : 0), bytes.end());
        } else {
            // Meta and system exclusive events end running status.
            runningStatus = 0;
            body.insert(body.end(), bytes.begin(), bytes.end());
        }
    }
    AppendVarLen(body, std::max(m_end, now) - now);
    body.insert(body.end(), {0xFF, 0x2F, 0x00});

    Bytes chunk;
    AppendTag(chunk, "MTrk");
    AppendBigEndian(chunk, static_cast<std::uint32_t>(body.size()), 4);
    chunk.insert(chunk.end(), body.begin(), body.end());
    return chunk;
}

Bytes WriteSmf(int format, int ticksPerQuarter, const std::vector<Track>& tracks,
               const EncodeOptions& options) {
    Require(format == 0 || format == 1, "only formats 0 and 1 are written");
    Require(!tracks.empty() && (format == 1 || tracks.size() == 1), "format 0 has exactly one track");
    Require(ticksPerQuarter > 0 && ticksPerQuarter < 0x8000, "bad division");
    Bytes file;
    AppendTag(file, "MThd");
    AppendBigEndian(file, 6, 4);
    AppendBigEndian(file, static_cast<std::uint32_t>(format), 2);
    AppendBigEndian(file, static_cast<std::uint32_t>(tracks.size()), 2);
    AppendBigEndian(file, static_cast<std::uint32_t>(ticksPerQuarter), 2);
    for (const Track& track : tracks) {
        const Bytes chunk = track.Encode(options);
        file.insert(file.end(), chunk.begin(), chunk.end());
    }
    return file;
}

Bytes WrapInRmid(const Bytes& smf) {
    const auto size = static_cast<std::uint32_t>(smf.size());
    const std::uint32_t pad = size % 2;
    Bytes file;
    AppendTag(file, "RIFF");
    AppendLittleEndian32(file, 4 + 8 + size + pad);
    AppendTag(file, "RMID");
    AppendTag(file, "data");
    AppendLittleEndian32(file, size);
    file.insert(file.end(), smf.begin(), smf.end());
    if (pad != 0)
        file.push_back(0);
    return file;
}

} // namespace demogen
