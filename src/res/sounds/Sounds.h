#pragma once

#include <cstdint>
#include <span>

// The program's WAVE resources: complete RIFF WAVE files in memory, made by the program itself.

namespace res {

// The bytes of WAVE resource `id` (129: the About box's dog), empty for an unknown id. They stay
// valid for the whole run.
std::span<const std::uint8_t> FindWave(int id);

} // namespace res
