#include "TinySoundFont.h"

#include <cmath>
#include <fstream>
#include <numbers>

namespace mcitest {

namespace {

using Bytes = std::vector<std::uint8_t>;

// Little-endian, padded with zero bytes past the value's four.
void Put(Bytes& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(i < 4 ? static_cast<std::uint8_t>(value >> (8 * i)) : 0);
}

void PutName(Bytes& out, const std::string& name, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i)
        out.push_back(i < name.size() ? static_cast<std::uint8_t>(name[i]) : 0);
}

Bytes Chunk(const std::string& id, const Bytes& body) {
    Bytes out(id.begin(), id.end());
    Put(out, static_cast<std::uint32_t>(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2)
        out.push_back(0);
    return out;
}

Bytes List(const std::string& type, const std::vector<Bytes>& chunks) {
    Bytes body(type.begin(), type.end());
    for (const Bytes& chunk : chunks)
        body.insert(body.end(), chunk.begin(), chunk.end());
    return Chunk("LIST", body);
}

Bytes Bags(std::uint16_t generators) {
    Bytes out;
    Put(out, 0, 2), Put(out, 0, 2);
    Put(out, generators, 2), Put(out, 0, 2);
    return out;
}

} // namespace

std::vector<std::uint8_t> TinySoundFont(Waveform waveform) {
    // 441 Hz, 100 frames a period, ten periods, of which the middle eight loop.
    constexpr std::uint32_t kFrames = 1000;
    Bytes samples;
    for (std::uint32_t i = 0; i < kFrames + 46; ++i) {
        double value = 0;
        if (i < kFrames) {
            const double phase = 2 * std::numbers::pi * (i % 100) / 100.0;
            value = waveform == Waveform::Sine ? std::sin(phase) : (phase < std::numbers::pi ? 1.0 : -1.0);
        }
        Put(samples, static_cast<std::uint16_t>(static_cast<std::int16_t>(value * 20000)), 2);
    }

    Bytes ifil, phdr, pgen, inst, igen, shdr, modulators(10, 0);
    Put(ifil, 2, 2), Put(ifil, 1, 2);
    PutName(phdr, "Tiny", 20), Put(phdr, 0, 2), Put(phdr, 0, 2), Put(phdr, 0, 2), Put(phdr, 0, 12);
    PutName(phdr, "EOP", 20), Put(phdr, 0, 2), Put(phdr, 0, 2), Put(phdr, 1, 2), Put(phdr, 0, 12);
    Put(pgen, 41, 2), Put(pgen, 0, 2); // instrument 0
    Put(pgen, 0, 2), Put(pgen, 0, 2);
    PutName(inst, "Tiny", 20), Put(inst, 0, 2);
    PutName(inst, "EOI", 20), Put(inst, 1, 2);
    Put(igen, 54, 2), Put(igen, 1, 2); // looped
    Put(igen, 53, 2), Put(igen, 0, 2); // sample 0
    Put(igen, 0, 2), Put(igen, 0, 2);
    PutName(shdr, "Tiny", 20), Put(shdr, 0, 4), Put(shdr, kFrames, 4), Put(shdr, 100, 4), Put(shdr, 900, 4);
    Put(shdr, 44100, 4), Put(shdr, 69, 1), Put(shdr, 0, 1), Put(shdr, 0, 2), Put(shdr, 1, 2);
    PutName(shdr, "EOS", 20), Put(shdr, 0, 26);

    const Bytes info =
        List("INFO", {Chunk("ifil", ifil), Chunk("isng", Bytes{'E', 'M', 'U', '8', '0', '0', '0', 0}),
                      Chunk("INAM", Bytes{'T', 'i', 'n', 'y', 0, 0})});
    const Bytes data = List("sdta", {Chunk("smpl", samples)});
    const Bytes presets =
        List("pdta", {Chunk("phdr", phdr), Chunk("pbag", Bags(1)), Chunk("pmod", modulators),
                      Chunk("pgen", pgen), Chunk("inst", inst), Chunk("ibag", Bags(2)),
                      Chunk("imod", modulators), Chunk("igen", igen), Chunk("shdr", shdr)});
    Bytes body = {'s', 'f', 'b', 'k'};
    for (const Bytes* part : {&info, &data, &presets})
        body.insert(body.end(), part->begin(), part->end());
    return Chunk("RIFF", body);
}

void WriteTinySoundFont(const std::string& path, Waveform waveform) {
    const Bytes bytes = TinySoundFont(waveform);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace mcitest
