#include "platform/mci/WaveSound.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/mci/MidiSink.h"

namespace mci {

namespace {

constexpr std::uint64_t kMaxSeconds = 600;
constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;

std::uint16_t U16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t U32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[3]} << 24);
}

struct Format {
    std::uint16_t channels = 0;
    std::uint32_t rate = 0;
    std::uint16_t bits = 0;
};

float Sample(const std::uint8_t* frame, const Format& format, unsigned channel) {
    if (format.bits == 8)
        return (static_cast<float>(frame[channel]) - 128.0f) / 128.0f;
    return static_cast<float>(static_cast<std::int16_t>(U16(frame + 2 * channel))) / 32768.0f;
}

} // namespace

std::unique_ptr<WaveBuffer> DecodeWave(const void* bytes, std::size_t size) {
    const auto* data = static_cast<const std::uint8_t*>(bytes);
    if (!data || size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
        return nullptr;
    // A RIFF size that claims more than there is is common and harmless: we read what is there.
    Format format;
    const std::uint8_t* samples = nullptr;
    std::size_t sampleBytes = 0;
    std::size_t pos = 12;
    while (size - pos >= 8) {
        const std::uint8_t* chunk = data + pos;
        const std::size_t length = U32(chunk + 4);
        const std::size_t available = std::min(length, size - pos - 8);
        if (std::memcmp(chunk, "fmt ", 4) == 0 && available >= 16) {
            const std::uint16_t tag = U16(chunk + 8);
            if (tag != kFormatPcm &&
                !(tag == kFormatExtensible && available >= 40 && U16(chunk + 32) == kFormatPcm))
                return nullptr;
            format.channels = U16(chunk + 10);
            format.rate = U32(chunk + 12);
            format.bits = U16(chunk + 22);
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            samples = chunk + 8;
            sampleBytes = available;
        }
        if (length > size - pos - 8)
            break;
        pos += 8 + length + (length & 1); // chunks are padded to an even size
    }
    if (!samples || (format.channels != 1 && format.channels != 2) ||
        (format.bits != 8 && format.bits != 16) || format.rate == 0)
        return nullptr;

    const std::size_t frameBytes = std::size_t{format.channels} * (format.bits / 8);
    const std::uint64_t inFrames = sampleBytes / frameBytes;
    if (inFrames > kMaxSeconds * format.rate)
        return nullptr;
    const std::uint64_t outFrames = inFrames * kSampleRate / format.rate;
    auto wave = std::make_unique<WaveBuffer>();
    wave->left.resize(outFrames);
    wave->right.resize(outFrames);
    for (std::uint64_t i = 0; i < outFrames; ++i) {
        // Linear interpolation between the two input frames around the output frame's time.
        const std::uint64_t numerator = i * format.rate;
        const std::uint64_t at = numerator / kSampleRate;
        const float fraction = static_cast<float>(numerator % kSampleRate) / static_cast<float>(kSampleRate);
        const std::uint64_t next = at + 1 < inFrames ? at + 1 : at;
        const std::uint8_t* a = samples + at * frameBytes;
        const std::uint8_t* b = samples + next * frameBytes;
        const unsigned rightChannel = format.channels == 2 ? 1 : 0;
        wave->left[i] = Sample(a, format, 0) + (Sample(b, format, 0) - Sample(a, format, 0)) * fraction;
        wave->right[i] = Sample(a, format, rightChannel) +
                         (Sample(b, format, rightChannel) - Sample(a, format, rightChannel)) * fraction;
    }
    return wave;
}

} // namespace mci
