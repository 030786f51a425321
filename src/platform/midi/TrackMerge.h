#pragma once

// Internal to the reader: merges the tracks of a song into play order as they are read. A
// template so that the per-event work of the consumer is inlined into the loop; a dense song has
// millions of events and this loop is most of the time spent reading it.

#include <cstdint>
#include <span>
#include <vector>

#include "platform/midi/MidiFile.h"
#include "platform/midi/TrackParser.h"

namespace midi::detail {

// The key of PlaysBefore in one integer: tick, then phase, then track.
inline unsigned __int128 PlayKey(const Event& e) {
    return (static_cast<unsigned __int128>(e.tick) << 24) | (std::uint32_t{e.phase} << 16) | e.track;
}

// Hands every event of the tracks to `take` in play order (PlaysBefore). Each track's next event
// waits in a slot; a binary min-heap orders the tracks by it. Tracks are distinct, so no two keys
// are equal and the result is the one order PlaysBefore defines; inside a track the order of the
// file is kept because a track is read front to back.
template <class Take> void MergeTracks(std::span<TrackReader> tracks, Take&& take) {
    struct Head {
        unsigned __int128 key;
        std::uint32_t slot;
    };
    std::vector<Event> pending(tracks.size());
    std::vector<Head> heap;
    heap.reserve(tracks.size());
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        if (tracks[i].Next(pending[i]))
            heap.push_back(Head{PlayKey(pending[i]), static_cast<std::uint32_t>(i)});
    }

    auto siftDown = [&heap](std::size_t i) {
        const std::size_t n = heap.size();
        const Head moving = heap[i];
        for (;;) {
            std::size_t child = 2 * i + 1;
            if (child >= n)
                break;
            if (child + 1 < n)
                child += heap[child + 1].key < heap[child].key ? 1 : 0;
            if (!(heap[child].key < moving.key))
                break;
            heap[i] = heap[child];
            i = child;
        }
        heap[i] = moving;
    };
    for (std::size_t i = heap.size() / 2; i-- > 0;)
        siftDown(i);

    while (!heap.empty()) {
        const std::uint32_t slot = heap.front().slot;
        Event& event = pending[slot];
        TrackReader& track = tracks[slot];
        // Take the track's events for as long as they stay ahead of every other track's head; in
        // a song with one track this never touches the heap.
        unsigned __int128 rival = ~static_cast<unsigned __int128>(0);
        if (heap.size() > 1)
            rival = heap.size() > 2 && heap[2].key < heap[1].key ? heap[2].key : heap[1].key;
        bool more;
        unsigned __int128 key;
        do {
            take(event);
            more = track.Next(event);
            key = PlayKey(event);
        } while (more && key < rival);
        if (more) {
            heap.front().key = key;
        } else {
            heap.front() = heap.back();
            heap.pop_back();
        }
        if (!heap.empty())
            siftDown(0);
    }
}

} // namespace midi::detail
