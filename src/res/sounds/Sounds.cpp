#include "res/sounds/Sounds.h"

#include "res/Resource.h"
#include "res/sounds/DogBark.h"

#include <vector>

namespace res {
namespace {

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A canonical 44-byte RIFF header in front of 8-bit mono PCM samples.
std::vector<std::uint8_t> MakeWave(const std::vector<std::uint8_t>& samples, std::uint32_t rate) {
    const auto dataBytes = static_cast<std::uint32_t>(samples.size());
    const std::uint32_t padding = dataBytes & 1; // chunks are word-aligned
    std::vector<std::uint8_t> wave;
    wave.reserve(44 + dataBytes + padding);
    wave.insert(wave.end(), {'R', 'I', 'F', 'F'});
    PutLe(wave, 36 + dataBytes + padding, 4);
    wave.insert(wave.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    PutLe(wave, 16, 4);
    PutLe(wave, 1, 2); // PCM
    PutLe(wave, 1, 2); // mono
    PutLe(wave, rate, 4);
    PutLe(wave, rate, 4); // bytes per second
    PutLe(wave, 1, 2);    // block align
    PutLe(wave, 8, 2);    // bits per sample
    wave.insert(wave.end(), {'d', 'a', 't', 'a'});
    PutLe(wave, dataBytes, 4);
    wave.insert(wave.end(), samples.begin(), samples.end());
    if (padding)
        wave.push_back(0x80);
    return wave;
}

} // namespace

std::span<const std::uint8_t> FindWave(int id) {
    if (id != IDR_DOGSOUND)
        return {};
    // Made on first use, which costs about a millisecond; a static keeps it for the run.
    static const std::vector<std::uint8_t> dog =
        MakeWave(detail::SynthesiseDogBark(), static_cast<std::uint32_t>(detail::kDogSampleRate));
    return dog;
}

} // namespace res
