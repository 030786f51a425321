#pragma once

// Loading a SoundFont into a new synthesiser, shared by the live device and the offline tools, so
// that a file refused by one is refused by the other with the same reason.

#include <memory>
#include <string>

#include "platform/mci/FluidSynthSink.h"

namespace mci {

enum class SoundFontProblem {
    None,
    Missing,       // not there, not a regular file, or not readable
    NotASoundFont, // no RIFF "sfbk" header (a renamed WAVE, an empty file)
    Truncated,     // shorter than its RIFF header says
    NotLoaded,     // the synthesiser refused it (damaged inside)
    NoSynthesiser, // FluidSynth could not make a synthesiser at all
};

struct LoadedSoundFont {
    std::unique_ptr<FluidSynthSink> synth; // null when there is a problem
    SoundFontProblem problem = SoundFontProblem::None;
};

// Looks at the file's header and length first, which is cheap and gives a clear reason, then
// makes a synthesiser and loads the SoundFont into it. Takes as long as the SoundFont is large:
// call it off the audio and user-interface threads.
LoadedSoundFont LoadSoundFontSynth(const std::string& path);

// One sentence for the user about the problem.
const char* DescribeSoundFontProblem(SoundFontProblem problem);

} // namespace mci
