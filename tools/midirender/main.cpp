// midirender FILE OUT.wav [--soundfont SF] [--tail MS]
//
// Renders a MIDI file offline through the program's own sequencer device and synthesiser into a
// 44,100 Hz, 16-bit stereo WAVE file: the song as the player would sound it, plus a tail (one
// second unless told) for the last notes and the reverb to die away.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "WavWriter.h"
#include "platform/mci/FluidSynthSink.h"
#include "platform/mci/Mci.h"
#include "platform/mci/SoundFont.h"
#include "platform/mci/SoundFontLoad.h"

namespace {

int Usage() {
    std::fprintf(stderr, "usage: midirender FILE OUT.wav [--soundfont SF] [--tail MS]\n");
    return 2;
}

int Fail(const std::string& what, MCIERROR code) {
    char text[128];
    mciGetErrorString(code, text, sizeof text);
    std::fprintf(stderr, "midirender: %s: %s\n", what.c_str(), text);
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> paths;
    std::string soundFont;
    long tailMs = 1000;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--soundfont" && i + 1 < argc)
            soundFont = argv[++i];
        else if (arg == "--tail" && i + 1 < argc)
            tailMs = std::strtol(argv[++i], nullptr, 10);
        else if (arg.starts_with("--"))
            return Usage();
        else
            paths.push_back(arg);
    }
    if (paths.size() != 2 || tailMs < 0)
        return Usage();
    if (soundFont.empty())
        soundFont = mci::FindSoundFont(mci::SystemSoundFonts());
    if (soundFont.empty())
        return Fail("no SoundFont", MCIERR_SEQ_NOMIDIPRESENT);
    mci::LoadedSoundFont loaded = mci::LoadSoundFontSynth(soundFont);
    if (!loaded.synth) {
        std::fprintf(stderr, "midirender: %s: %s\n", soundFont.c_str(),
                     mci::DescribeSoundFontProblem(loaded.problem));
        return 1;
    }
    mci::UseOfflineOutput(std::move(loaded.synth));

    MCI_OPEN_PARMS open;
    open.lpstrDeviceType = "sequencer";
    open.lpstrElementName = paths[0].c_str();
    if (const MCIERROR error = mciSendCommand(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, &open))
        return Fail(paths[0], error);
    const MCIDEVICEID id = open.wDeviceID;
    MCI_STATUS_PARMS status;
    status.dwItem = MCI_STATUS_LENGTH;
    mciSendCommand(id, MCI_STATUS, MCI_STATUS_ITEM, &status);
    const DWORD_PTR lengthMs = status.dwReturn;

    WavWriter wav;
    if (!wav.Open(paths[1], mci::kSampleRate)) {
        std::fprintf(stderr, "midirender: cannot write %s\n", paths[1].c_str());
        return 1;
    }
    MCI_PLAY_PARMS play;
    if (const MCIERROR error = mciSendCommand(id, MCI_PLAY, 0, &play))
        return Fail(paths[0], error);

    constexpr std::size_t kBlock = 4096;
    std::vector<float> left(kBlock), right(kBlock);
    bool ok = true;
    status.dwItem = MCI_STATUS_MODE;
    do {
        mci::RenderOffline(left.data(), right.data(), kBlock);
        ok = ok && wav.Write(left.data(), right.data(), kBlock);
        mciSendCommand(id, MCI_STATUS, MCI_STATUS_ITEM, &status);
    } while (ok && status.dwReturn == MCI_MODE_PLAY);
    std::uint64_t tail = static_cast<std::uint64_t>(tailMs) * mci::kSampleRate / 1000;
    while (ok && tail > 0) {
        const std::size_t frames = static_cast<std::size_t>(std::min<std::uint64_t>(tail, kBlock));
        mci::RenderOffline(left.data(), right.data(), frames);
        ok = wav.Write(left.data(), right.data(), frames);
        tail -= frames;
    }
    mciSendCommand(id, MCI_CLOSE, 0, nullptr);
    mci::Shutdown();
    if (!wav.Finish() || !ok) {
        std::fprintf(stderr, "midirender: cannot write %s\n", paths[1].c_str());
        return 1;
    }
    const double peakDb = wav.Peak() > 0 ? 20.0 * std::log10(wav.Peak()) : -INFINITY;
    std::printf("%s: %lu ms, %llu frames written to %s, peak %.1f dBFS, %llu samples clipped\n",
                paths[0].c_str(), static_cast<unsigned long>(lengthMs),
                static_cast<unsigned long long>(wav.Frames()), paths[1].c_str(), peakDb,
                static_cast<unsigned long long>(wav.ClippedSamples()));
    return 0;
}
