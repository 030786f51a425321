#include "demogen/Songs.h"

namespace demogen {

std::vector<SongFile> AllSongs() {
    return {OdeToJoy(),     Greensleeves(), FrereJacques(), TwinkleTwinkle(),
            AmazingGrace(), MinuetInG(),    WhenTheSaints()};
}

} // namespace demogen
