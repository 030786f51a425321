#pragma once

// Writes 16-bit stereo PCM WAVE files as the sound is rendered, so that a long song never has to
// be held in memory; the sizes in the header are filled in when the file is finished.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

class WavWriter {
public:
    WavWriter() = default;
    ~WavWriter();
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    bool Open(const std::string& path, std::uint32_t sampleRate);
    // Float samples in -1..1; what lies outside is clipped (and counted).
    bool Write(const float* left, const float* right, std::size_t frames);
    bool Finish();

    std::uint64_t Frames() const { return m_frames; }
    std::uint64_t ClippedSamples() const { return m_clipped; }
    float Peak() const { return m_peak; }

private:
    std::FILE* m_file = nullptr;
    std::uint32_t m_rate = 0;
    std::uint64_t m_frames = 0;
    std::uint64_t m_clipped = 0;
    float m_peak = 0;
};
