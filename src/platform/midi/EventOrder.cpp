#include "platform/midi/MidiFile.h"

namespace midi {

bool PlaysBefore(const Event& a, const Event& b) {
    if (a.tick != b.tick)
        return a.tick < b.tick;
    if (a.phase != b.phase)
        return a.phase < b.phase;
    return a.track < b.track;
}

} // namespace midi
