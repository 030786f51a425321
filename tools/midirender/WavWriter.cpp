#include "WavWriter.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

void Put(std::vector<unsigned char>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

std::vector<unsigned char> Header(std::uint32_t rate, std::uint64_t frames) {
    // A WAVE file cannot say more than 4 GiB; a song that long is cut in the header, not the data.
    const std::uint64_t data = std::min<std::uint64_t>(frames * 4, 0xFFFFFFFFu - 36);
    std::vector<unsigned char> out = {'R', 'I', 'F', 'F'};
    Put(out, static_cast<std::uint32_t>(36 + data), 4);
    for (char c : std::string("WAVEfmt "))
        out.push_back(static_cast<unsigned char>(c));
    Put(out, 16, 4);
    Put(out, 1, 2); // PCM
    Put(out, 2, 2); // stereo
    Put(out, rate, 4);
    Put(out, rate * 4, 4); // bytes a second
    Put(out, 4, 2);        // bytes a frame
    Put(out, 16, 2);
    for (char c : std::string("data"))
        out.push_back(static_cast<unsigned char>(c));
    Put(out, static_cast<std::uint32_t>(data), 4);
    return out;
}

} // namespace

WavWriter::~WavWriter() {
    if (m_file)
        std::fclose(m_file);
}

bool WavWriter::Open(const std::string& path, std::uint32_t sampleRate) {
    m_file = std::fopen(path.c_str(), "wb");
    m_rate = sampleRate;
    if (!m_file)
        return false;
    const auto header = Header(m_rate, 0);
    return std::fwrite(header.data(), 1, header.size(), m_file) == header.size();
}

bool WavWriter::Write(const float* left, const float* right, std::size_t frames) {
    std::vector<unsigned char> out;
    out.reserve(frames * 4);
    for (std::size_t i = 0; i < frames; ++i) {
        for (float sample : {left[i], right[i]}) {
            m_peak = std::max(m_peak, std::fabs(sample));
            if (sample > 1.0f || sample < -1.0f) {
                ++m_clipped;
                sample = std::clamp(sample, -1.0f, 1.0f);
            }
            Put(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lrintf(sample * 32767.0f))),
                2);
        }
    }
    m_frames += frames;
    return std::fwrite(out.data(), 1, out.size(), m_file) == out.size();
}

bool WavWriter::Finish() {
    if (!m_file)
        return false;
    const auto header = Header(m_rate, m_frames);
    const bool ok = std::fseek(m_file, 0, SEEK_SET) == 0 &&
                    std::fwrite(header.data(), 1, header.size(), m_file) == header.size();
    const bool closed = std::fclose(m_file) == 0;
    m_file = nullptr;
    return ok && closed;
}
