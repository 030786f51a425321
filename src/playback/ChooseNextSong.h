#pragma once

#include <functional>

// The choice of the next song, free of any platform: which row plays next, in random or list
// order, skipping rows already played when repetition is off.
struct SongChoice {
    int row;        // the row to play; when allPlayed, the row first chosen
    int current;    // the current row after the choice's first step (reset to 0 when past the end)
    bool allPlayed; // repetition is off and every row has been played
};

// `random` returns 0..32767 like the classic C library generator.
SongChoice ChooseNextSong(int current, int count, int style, bool allowRepetition,
                          const std::function<bool(int)>& isPlayed, const std::function<int()>& random);
