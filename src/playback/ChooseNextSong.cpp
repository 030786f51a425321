#include "playback/ChooseNextSong.h"

SongChoice ChooseNextSong(int current, int count, int style, bool allowRepetition,
                          const std::function<bool(int)>& isPlayed, const std::function<int()>& random) {
    if (current >= count)
        current = 0;

    int row;
    if (style == 0) {
        // In double precision and in this order: r * (1/32767) * n, truncated; r = 32767 gives n.
        double scaled = static_cast<double>(random()) * (1.0 / 32767.0) * static_cast<double>(count);
        row = static_cast<int>(scaled);
        if (row >= count)
            row = 0;
    } else {
        row = current + 1 < count ? current + 1 : 0;
    }

    // An empty list has no rows to have played; the caller then tries row 0 and reports the failure.
    if (allowRepetition || count == 0 || !isPlayed(row))
        return SongChoice{row, current, false};

    for (int examined = 1, candidate = row + 1; examined <= count; ++examined, ++candidate) {
        if (candidate >= count)
            candidate = 0;
        if (!isPlayed(candidate))
            return SongChoice{candidate, current, false};
    }
    return SongChoice{row, current, true};
}
