#pragma once

// A SoundFont of a few kilobytes for tests: one preset (bank 0, program 0) over every key, one
// looped sample of a waveform of our choice, so that two of them render the same song audibly
// differently without loading a large General MIDI SoundFont.

#include <cstdint>
#include <string>
#include <vector>

namespace mcitest {

enum class Waveform { Sine, Square };

std::vector<std::uint8_t> TinySoundFont(Waveform waveform);
void WriteTinySoundFont(const std::string& path, Waveform waveform);

} // namespace mcitest
