#include "SmfBuilder.h"

#include <algorithm>
#include <fstream>

namespace mcitest {

namespace {

void PutVlq(Bytes& out, std::uint64_t value) {
    std::uint8_t groups[10];
    int count = 0;
    do {
        groups[count++] = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    while (count > 1)
        out.push_back(groups[--count] | 0x80);
    out.push_back(groups[0]);
}

void Put16(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void Put32(Bytes& out, std::uint32_t value) {
    Put16(out, value >> 16);
    Put16(out, value & 0xFFFF);
}

} // namespace

int SmfBuilder::AddTrack() {
    m_tracks.emplace_back();
    return static_cast<int>(m_tracks.size()) - 1;
}

SmfBuilder& SmfBuilder::Add(int track, std::uint64_t tick, Bytes bytes) {
    m_tracks.at(track).events.emplace_back(tick, std::move(bytes));
    return *this;
}

SmfBuilder& SmfBuilder::EndAt(int track, std::uint64_t tick) {
    m_tracks.at(track).end = tick;
    return *this;
}

Bytes SmfBuilder::Build() const {
    Bytes out = {'M', 'T', 'h', 'd', 0, 0, 0, 6};
    Put16(out, static_cast<std::uint32_t>(m_format));
    Put16(out, static_cast<std::uint32_t>(m_tracks.size()));
    Put16(out, m_division);
    for (const Track& track : m_tracks) {
        auto events = track.events;
        std::stable_sort(events.begin(), events.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        Bytes body;
        std::uint64_t tick = 0;
        for (const auto& [at, bytes] : events) {
            PutVlq(body, at - tick);
            tick = at;
            body.insert(body.end(), bytes.begin(), bytes.end());
        }
        PutVlq(body, std::max(track.end, tick) - tick);
        body.insert(body.end(), {0xFF, 0x2F, 0x00});
        out.insert(out.end(), {'M', 'T', 'r', 'k'});
        Put32(out, static_cast<std::uint32_t>(body.size()));
        out.insert(out.end(), body.begin(), body.end());
    }
    return out;
}

void SmfBuilder::WriteTo(const std::string& path) const {
    const Bytes bytes = Build();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes NoteOn(int channel, int key, int velocity) {
    return {static_cast<std::uint8_t>(0x90 | channel), static_cast<std::uint8_t>(key),
            static_cast<std::uint8_t>(velocity)};
}

Bytes NoteOff(int channel, int key) {
    return {static_cast<std::uint8_t>(0x80 | channel), static_cast<std::uint8_t>(key), 0x40};
}

Bytes Control(int channel, int controller, int value) {
    return {static_cast<std::uint8_t>(0xB0 | channel), static_cast<std::uint8_t>(controller),
            static_cast<std::uint8_t>(value)};
}

Bytes Program(int channel, int program) {
    return {static_cast<std::uint8_t>(0xC0 | channel), static_cast<std::uint8_t>(program)};
}

Bytes PitchBend(int channel, int value14) {
    return {static_cast<std::uint8_t>(0xE0 | channel), static_cast<std::uint8_t>(value14 & 0x7F),
            static_cast<std::uint8_t>((value14 >> 7) & 0x7F)};
}

Bytes Pressure(int channel, int value) {
    return {static_cast<std::uint8_t>(0xD0 | channel), static_cast<std::uint8_t>(value)};
}

Bytes Tempo(std::uint32_t microsPerQuarter) {
    return {0xFF,
            0x51,
            0x03,
            static_cast<std::uint8_t>(microsPerQuarter >> 16),
            static_cast<std::uint8_t>(microsPerQuarter >> 8),
            static_cast<std::uint8_t>(microsPerQuarter)};
}

Bytes Sysex(const Bytes& body, bool complete) {
    Bytes out = {0xF0};
    PutVlq(out, body.size() + (complete ? 1 : 0));
    out.insert(out.end(), body.begin(), body.end());
    if (complete)
        out.push_back(0xF7);
    return out;
}

Bytes Escape(const Bytes& bytes) {
    Bytes out = {0xF7};
    PutVlq(out, bytes.size());
    out.insert(out.end(), bytes.begin(), bytes.end());
    return out;
}

} // namespace mcitest
