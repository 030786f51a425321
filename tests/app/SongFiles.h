#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

// Writes small Standard MIDI Files for the tests: one note every second on a piano, at 1000
// ticks per quarter note and 1,000,000 microseconds per quarter, so one tick is one millisecond.
inline void WriteSong(const std::string& path, std::uint32_t lengthMs) {
    auto vlq = [](std::vector<std::uint8_t>& out, std::uint32_t value) {
        std::uint8_t bytes[5];
        int n = 0;
        do {
            bytes[n++] = static_cast<std::uint8_t>(value & 0x7F);
            value >>= 7;
        } while (value != 0);
        while (n > 1)
            out.push_back(static_cast<std::uint8_t>(bytes[--n] | 0x80));
        out.push_back(bytes[0]);
    };
    std::vector<std::uint8_t> track = {0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40, 0x00, 0xC0, 0x00};
    std::uint32_t now = 0;
    for (std::uint32_t at = 0; at + 500 <= lengthMs; at += 1000) {
        vlq(track, at - now);
        track.insert(track.end(), {0x90, 60, 100});
        vlq(track, 500);
        track.insert(track.end(), {0x80, 60, 0});
        now = at + 500;
    }
    vlq(track, lengthMs - now);
    track.insert(track.end(), {0xFF, 0x2F, 0x00});

    std::vector<std::uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x03, 0xE8};
    file.insert(file.end(), {'M', 'T', 'r', 'k'});
    auto size = static_cast<std::uint32_t>(track.size());
    file.insert(file.end(), {static_cast<std::uint8_t>(size >> 24), static_cast<std::uint8_t>(size >> 16),
                             static_cast<std::uint8_t>(size >> 8), static_cast<std::uint8_t>(size)});
    file.insert(file.end(), track.begin(), track.end());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
}
