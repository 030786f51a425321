#pragma once

// Chasing: what a song has told the synthesiser before a position, boiled down to the messages
// that recreate that state, so that a song started in the middle sounds as if it had played from
// the start — programs with their banks, controllers, pitch bend, channel pressure, registered and
// non-registered parameters, channel modes and system exclusive messages — without sounding a note.
//
// The rule: the messages keep their order in the song, and a message is left out only when a later
// one sets the same thing again. Messages that read state are sent together with what they read: a
// program change with the bank selected at that moment, a data entry with the parameter number it
// went to. System exclusive messages (resets, master volume, part setups) are all kept.

#include <cstdint>
#include <vector>

#include "platform/mci/PlayableSong.h"

namespace mci {

struct ChaseList {
    // Frames are 0; system exclusive events refer to the song's payload.
    std::vector<SongEvent> events;
};

// The chase for a play that starts at the frame: built from the events before it.
ChaseList BuildChase(const PlayableSong& song, std::uint64_t frame);

} // namespace mci
