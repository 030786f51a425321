#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "res/Resource.h"
#include "res/sounds/Sounds.h"

namespace {

std::uint32_t Le(std::span<const std::uint8_t> bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | bytes[at + static_cast<std::size_t>(i)];
    return value;
}
std::string Tag(std::span<const std::uint8_t> bytes, std::size_t at) {
    return std::string(bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at) + 4);
}

// The About box's sound as the old sound cards played it: PCM, mono, 8 bits, 11,025 samples a
// second, 25,099 samples long.
TEST(Sounds, DogSoundIsAnEightBitMonoWaveOfAboutTwoSeconds) {
    std::span<const std::uint8_t> wave = res::FindWave(IDR_DOGSOUND);
    ASSERT_GE(wave.size(), 44u);
    EXPECT_EQ(Tag(wave, 0), "RIFF");
    EXPECT_EQ(Le(wave, 4, 4), wave.size() - 8);
    EXPECT_EQ(Tag(wave, 8), "WAVE");
    EXPECT_EQ(Tag(wave, 12), "fmt ");
    EXPECT_EQ(Le(wave, 16, 4), 16u);
    EXPECT_EQ(Le(wave, 20, 2), 1u) << "PCM";
    EXPECT_EQ(Le(wave, 22, 2), 1u) << "mono";
    EXPECT_EQ(Le(wave, 24, 4), 11025u);
    EXPECT_EQ(Le(wave, 28, 4), 11025u) << "bytes per second";
    EXPECT_EQ(Le(wave, 32, 2), 1u) << "block align";
    EXPECT_EQ(Le(wave, 34, 2), 8u);
    EXPECT_EQ(Tag(wave, 36), "data");
    const std::uint32_t samples = Le(wave, 40, 4);
    EXPECT_EQ(samples, 25099u);
    ASSERT_GE(wave.size(), 44u + samples);

    // Loud enough to hear, never clipped flat against the ends, and silent at its very end.
    auto data = wave.subspan(44, samples);
    auto [low, high] = std::minmax_element(data.begin(), data.end());
    EXPECT_LT(*low, 40);
    EXPECT_GT(*high, 216);
    EXPECT_GT(*low, 0);
    EXPECT_LT(*high, 255);
    EXPECT_LE(std::abs(int{data.back()} - 128), 2);
    EXPECT_EQ(res::FindWave(IDR_DOGSOUND).data(), wave.data()) << "made once for the run";
    EXPECT_TRUE(res::FindWave(128).empty());
}

} // namespace
