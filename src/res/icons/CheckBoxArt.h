#pragma once

// The played marks of the song list: an empty box (143, not played) and the same box with a red tick
// (142, played). Each character is one pixel; IconGrid.h holds the palette. The ticked box is the
// empty one with the tick painted inside, so a row changes only inside its box when it is marked.

namespace res::art {

// The pictures must stay one row to a line to be readable, so the formatter leaves them alone.
// clang-format off

// 32x32, for the list's large-icon view: a two-pixel frame with a light shadow along the top and left.
inline constexpr const char* kBoxEmpty32[32] = {
    "................................",
    "................................",
    "..KKKKKKKKKKKKKKKKKKKKKKKKKKKK..",
    "..KKKKKKKKKKKKKKKKKKKKKKKKKKKK..",
    "..KKwwwwwwwwwwwwwwwwwwwwwwwwKK..",
    "..KKwWWWWWWWWWWWWWWWWWWWWWWWKK..",
    "..KKwWWWWWWWWWWWWWWWWWWWWWWWKK..",
    "..KKwWWWWWWWWWWWWWWWWWWWWWWWKK..",
    "..KKwWWWWWWWWWWWWWWWWWWWWWWWKK..",
    "..KKwWWWWWWWWWWWWWWWWWWWWWWWKK..",
    "..KKwWWWWWWWWWWWWWWWWWWWWWWWKK..",
    "..KKwWWWWWWWWWWWWWWWWWWWWWWWKK..",
    "..KKwWWWWWWWWWWWWWWWWWWWWWWWKK..",
    "..KKwWWWWWWWWWWWWWWWWWWWWWWWKK..",
    "..KKwWWWWWWWWWWWWWWWWWWWWWWWKK..",
    "..KKwWWWWWWWWWWWWWWWWWWWWWWWKK..",
    "..KKwWWWWWWWWWWWWWWWWWWWWWWWKK..",
    "..KKwWWWWWWWWWWWWWWWWWWWWWWWKK..",
    "..KKwWWWWWWWWWWWWWWWWWWWWWWWKK..",
    "..KKwWWWWWWWWWWWWWWWWWWWWWWWKK..",
    "..KKwWWWWWWWWWWWWWWWWWWWWWWWKK..",
    "..KKwWWWWWWWWWWWWWWWWWWWWWWWKK..",
    "..KKwWWWWWWWWWWWWWWWWWWWWWWWKK..",
    "..KKwWWWWWWWWWWWWWWWWWWWWWWWKK..",
    "..KKwWWWWWWWWWWWWWWWWWWWWWWWKK..",
    "..KKwWWWWWWWWWWWWWWWWWWWWWWWKK..",
    "..KKwWWWWWWWWWWWWWWWWWWWWWWWKK..",
    "..KKwWWWWWWWWWWWWWWWWWWWWWWWKK..",
    "..KKKKKKKKKKKKKKKKKKKKKKKKKKKK..",
    "..KKKKKKKKKKKKKKKKKKKKKKKKKKKK..",
    "................................",
    "................................",
};

inline constexpr const char* kBoxTicked32[32] = {
    "................................",
    "................................",
    "..KKKKKKKKKKKKKKKKKKKKKKKKKKKK..",
    "..KKKKKKKKKKKKKKKKKKKKKKKKKKKK..",
    "..KKwwwwwwwwwwwwwwwwwwwwwwwwKK..",
    "..KKwWWWWWWWWWWWWWWWWWWWWWWWKK..",
    "..KKwWWWWWWWWWWWWWWWWWWrrrWWKK..",
    "..KKwWWWWWWWWWWWWWWWWWrRRRrWKK..",
    "..KKwWWWWWWWWWWWWWWWWrRRRRrWKK..",
    "..KKwWWWWWWWWWWWWWWWrRRRRRrWKK..",
    "..KKwWWWWWWWWWWWWWWrrRRRRRrWKK..",
    "..KKwWWWWWWWWWWWWWrrRRRRRrWWKK..",
    "..KKwWWWWWWWWWWWWWrRRRRRrWWWKK..",
    "..KKwWrrrrWWWWWWWrRRRRRrWWWWKK..",
    "..KKwrRRRRrWWWWWrRRRRRrrWWWWKK..",
    "..KKwrRRRRRrWWWrRRRRRrrWWWWWKK..",
    "..KKwrRRRRRRrWrRRRRRRrWWWWWWKK..",
    "..KKwWrRRRRRRrRRRRRRrWWWWWWWKK..",
    "..KKwWWrRRRRRRRRRRRrWWWWWWWWKK..",
    "..KKwWWWrRRRRRRRRRrWWWWWWWWWKK..",
    "..KKwWWWWrRRRRRRRrWWWWWWWWWWKK..",
    "..KKwWWWWWrRRRRRrWWWWWWWWWWWKK..",
    "..KKwWWWWWrrRRRrWWWWWWWWWWWWKK..",
    "..KKwWWWWWWrrRrrWWWWWWWWWWWWKK..",
    "..KKwWWWWWWWWWWWWWWWWWWWWWWWKK..",
    "..KKwWWWWWWWWWWWWWWWWWWWWWWWKK..",
    "..KKwWWWWWWWWWWWWWWWWWWWWWWWKK..",
    "..KKwWWWWWWWWWWWWWWWWWWWWWWWKK..",
    "..KKKKKKKKKKKKKKKKKKKKKKKKKKKK..",
    "..KKKKKKKKKKKKKKKKKKKKKKKKKKKK..",
    "................................",
    "................................",
};

// 16x16, for the report view the list normally shows.
inline constexpr const char* kBoxEmpty16[16] = {
    "................",
    ".KKKKKKKKKKKKKK.",
    ".KwwwwwwwwwwwwK.",
    ".KwWWWWWWWWWWWK.",
    ".KwWWWWWWWWWWWK.",
    ".KwWWWWWWWWWWWK.",
    ".KwWWWWWWWWWWWK.",
    ".KwWWWWWWWWWWWK.",
    ".KwWWWWWWWWWWWK.",
    ".KwWWWWWWWWWWWK.",
    ".KwWWWWWWWWWWWK.",
    ".KwWWWWWWWWWWWK.",
    ".KwWWWWWWWWWWWK.",
    ".KwWWWWWWWWWWWK.",
    ".KKKKKKKKKKKKKK.",
    "................",
};

inline constexpr const char* kBoxTicked16[16] = {
    "................",
    ".KKKKKKKKKKKKKK.",
    ".KwwwwwwwwwwwwK.",
    ".KwWWWWWWWWrRrK.",
    ".KwWWWWWWWrRRRK.",
    ".KwWWWWWWrRRRrK.",
    ".KwrWWWWrRRRrWK.",
    ".KrRRWWWRRRrWWK.",
    ".KrRRRWRRRrWWWK.",
    ".KwRRRRRRrWWWWK.",
    ".KwWRRRRrWWWWWK.",
    ".KwWWRRRWWWWWWK.",
    ".KwWWWrWWWWWWWK.",
    ".KwWWWWWWWWWWWK.",
    ".KKKKKKKKKKKKKK.",
    "................",
};

// clang-format on

} // namespace res::art
