#pragma once

// Where the General MIDI SoundFont comes from: the system's, as Debian's packages install it.

#include <string>
#include <vector>

namespace mci {

// The files tried, best first: the default General MIDI SoundFont that fluid-soundfont-gm (or an
// alternative) installs, its compressed form, then the SoundFonts of the other Debian packages.
const std::vector<std::string>& SystemSoundFonts();

// The first candidate that is a readable regular file, or an empty string when there is none.
std::string FindSoundFont(const std::vector<std::string>& candidates);

} // namespace mci
