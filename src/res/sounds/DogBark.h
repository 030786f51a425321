#pragma once

#include <cstdint>
#include <vector>

namespace res::detail {

// The About box's sound, about 2.3 seconds: two pairs of barks over the patter of running paws.
// Mono, 8-bit unsigned samples at 11,025 per second, as the sound card of the time played them.
inline constexpr int kDogSampleRate = 11025;
inline constexpr int kDogSampleCount = 25099;
std::vector<std::uint8_t> SynthesiseDogBark();

} // namespace res::detail
