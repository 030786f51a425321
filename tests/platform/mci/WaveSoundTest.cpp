#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/mci/WaveSound.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Wave(std::uint16_t format, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
           const Bytes& data, bool extraChunk = false) {
    Bytes out;
    auto put = [&out](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    };
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    put(0xFFFFFFFF, 4); // a wrong RIFF size is common and must not matter
    out.insert(out.end(), {'W', 'A', 'V', 'E'});
    if (extraChunk) {
        out.insert(out.end(), {'L', 'I', 'S', 'T'});
        put(3, 4);
        out.insert(out.end(), {1, 2, 3, 0}); // odd size, padded
    }
    out.insert(out.end(), {'f', 'm', 't', ' '});
    put(16, 4);
    put(format, 2);
    put(channels, 2);
    put(rate, 4);
    put(rate * channels * bits / 8, 4);
    put(channels * bits / 8, 2);
    put(bits, 2);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put(static_cast<std::uint32_t>(data.size()), 4);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

TEST(WaveSound, SixteenBitStereoAtTheOutputRateIsTakenAsIs) {
    const Bytes bytes = Wave(1, 2, 44100, 16, {0x00, 0x40, 0x00, 0xC0, 0xFF, 0x7F, 0x00, 0x80});
    const auto wave = mci::DecodeWave(bytes.data(), bytes.size());
    ASSERT_TRUE(wave);
    EXPECT_EQ(wave->left, (std::vector<float>{0.5f, 32767 / 32768.0f}));
    EXPECT_EQ(wave->right, (std::vector<float>{-0.5f, -1.0f}));
}

TEST(WaveSound, EightBitMonoIsCentredSpreadAndResampled) {
    const Bytes bytes = Wave(1, 1, 22050, 8, {128, 192, 64, 128}, true);
    const auto wave = mci::DecodeWave(bytes.data(), bytes.size());
    ASSERT_TRUE(wave);
    // Twice the frames; the new ones lie halfway between their neighbours.
    EXPECT_EQ(wave->left, (std::vector<float>{0.0f, 0.25f, 0.5f, 0.0f, -0.5f, -0.25f, 0.0f, 0.0f}));
    EXPECT_EQ(wave->right, wave->left);
}

TEST(WaveSound, OtherThingsAreRefused) {
    const Bytes pcm = Wave(1, 1, 8000, 16, {0, 0});
    EXPECT_TRUE(mci::DecodeWave(pcm.data(), pcm.size()));
    EXPECT_FALSE(mci::DecodeWave(pcm.data(), 11)) << "cut inside the header";
    EXPECT_FALSE(mci::DecodeWave(nullptr, 100));
    const Bytes adpcm = Wave(2, 1, 8000, 4, {0, 0});
    EXPECT_FALSE(mci::DecodeWave(adpcm.data(), adpcm.size()));
    const Bytes float32 = Wave(3, 1, 8000, 32, {0, 0, 0, 0});
    EXPECT_FALSE(mci::DecodeWave(float32.data(), float32.size()));
    const Bytes surround = Wave(1, 6, 8000, 16, Bytes(12));
    EXPECT_FALSE(mci::DecodeWave(surround.data(), surround.size()));
    const Bytes noRate = Wave(1, 1, 0, 16, {0, 0});
    EXPECT_FALSE(mci::DecodeWave(noRate.data(), noRate.size()));
    Bytes noData = pcm;
    noData.resize(noData.size() - 10);
    EXPECT_FALSE(mci::DecodeWave(noData.data(), noData.size()));
}

TEST(WaveSound, ADataChunkLongerThanTheFileGivesWhatIsThere) {
    Bytes bytes = Wave(1, 1, 44100, 16, {0, 0x40, 0, 0x40, 0, 0x40});
    bytes.resize(bytes.size() - 1); // the last sample is cut in half
    const auto wave = mci::DecodeWave(bytes.data(), bytes.size());
    ASSERT_TRUE(wave);
    EXPECT_EQ(wave->Frames(), 2u);
}

} // namespace
