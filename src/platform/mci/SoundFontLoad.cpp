#include "platform/mci/SoundFontLoad.h"

#include <array>
#include <cstdint>
#include <cstdio>

#include <sys/stat.h>
#include <unistd.h>

namespace mci {

namespace {

std::uint32_t LittleEndian32(const unsigned char* bytes) {
    return std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[2]} << 16 |
           std::uint32_t{bytes[3]} << 24;
}

SoundFontProblem CheckFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || ::access(path.c_str(), R_OK) != 0)
        return SoundFontProblem::Missing;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return SoundFontProblem::Missing;
    std::array<unsigned char, 12> header{};
    const std::size_t got = std::fread(header.data(), 1, header.size(), file);
    std::fclose(file);
    // SoundFont 2 and its compressed form 3 share the header: RIFF, the length, then "sfbk".
    if (got != header.size() || std::string(header.begin(), header.begin() + 4) != "RIFF" ||
        std::string(header.begin() + 8, header.end()) != "sfbk")
        return SoundFontProblem::NotASoundFont;
    if (std::uint64_t{LittleEndian32(header.data() + 4)} + 8 > static_cast<std::uint64_t>(info.st_size))
        return SoundFontProblem::Truncated;
    return SoundFontProblem::None;
}

} // namespace

LoadedSoundFont LoadSoundFontSynth(const std::string& path) {
    LoadedSoundFont result;
    result.problem = CheckFile(path);
    if (result.problem != SoundFontProblem::None)
        return result;
    FluidSynthSink::Failure failure = FluidSynthSink::Failure::None;
    result.synth = FluidSynthSink::Create(path, &failure);
    if (!result.synth)
        result.problem = failure == FluidSynthSink::Failure::NoSynthesiser ? SoundFontProblem::NoSynthesiser
                                                                           : SoundFontProblem::NotLoaded;
    return result;
}

const char* DescribeSoundFontProblem(SoundFontProblem problem) {
    switch (problem) {
    case SoundFontProblem::None:
        return "The SoundFont is loaded.";
    case SoundFontProblem::Missing:
        return "The file cannot be found or read.";
    case SoundFontProblem::NotASoundFont:
        return "The file is not a SoundFont (.sf2 or .sf3).";
    case SoundFontProblem::Truncated:
        return "The SoundFont is incomplete: the file is shorter than it says.";
    case SoundFontProblem::NotLoaded:
        return "The SoundFont is damaged: the synthesiser could not load it.";
    case SoundFontProblem::NoSynthesiser:
        return "The synthesiser could not start.";
    }
    return "";
}

} // namespace mci
