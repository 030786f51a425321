#pragma once

#include <string>
#include <vector>

#include "demogen/Smf.h"

// The demo songs: public-domain melodies, arranged and encoded for this project. Each function
// builds one complete file.

namespace demogen {

struct SongFile {
    std::string fileName;
    Bytes bytes;
};

SongFile OdeToJoy();
SongFile Greensleeves();
SongFile FrereJacques();
SongFile TwinkleTwinkle();
SongFile AmazingGrace();
SongFile MinuetInG();
SongFile WhenTheSaints();

std::vector<SongFile> AllSongs();

// Karaoke songs in the ways other karaoke files are written, for trying the lyrics window; not
// part of the demo.
std::vector<SongFile> KaraokeSongs();

} // namespace demogen
