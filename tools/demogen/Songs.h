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

} // namespace demogen
