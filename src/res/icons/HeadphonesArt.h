#pragma once

// The headphones of the application icon (128) and the same headphones crossed out (140), which the
// tray shows while nothing plays. Each character is one pixel; IconGrid.h holds the palette. The
// crossed-out pictures are the plain ones with the red stroke painted over them, pixel for pixel, so
// the two tray states read as the same object switched on and off.

namespace res::art {

// The pictures must stay one row to a line to be readable, so the formatter leaves them alone.
// clang-format off

// 32x32: a dark grey band with a lighter rim, ear cups with a blue panel on the outside and a dark
// cushion on the inside.
inline constexpr const char* kHeadphones32[32] = {
    "................................",
    "................................",
    ".............KKKKKK.............",
    "..........KKKGGGGGGKKK..........",
    "........KKGGGDDDDDDGGGKK........",
    ".......KGGDDKKKKKKKKDDGGK.......",
    "......KGDDKK........KKDDGK......",
    ".....KGDDK............KDDGK.....",
    "....KGDDK..............KDDGK....",
    "....KGDK................KDGK....",
    "...KGDDK................KDDGK...",
    "...KGDDK................KDDGK...",
    "...KGDDK................KDDGK...",
    "...KGDDK................KDDGK...",
    "..KKGDDKK..............KKDDGKK..",
    ".KGGGGDDDK............KDDDGGGGK.",
    ".KGDDDDDDKKK........KKKDDDDDDGK.",
    "KGDKKKKDDKGDK......KDGKDDKKKKDGK",
    "KGKbBBBKDKGDK......KDGKDKBBBbKGK",
    "KGKbBBBKDKGDK......KDGKDKBBBbKGK",
    "KGKbBBBKDKGDK......KDGKDKBBBbKGK",
    "KGKbBBBKDKGDK......KDGKDKBBBbKGK",
    "KGKbBBBKDKGDK......KDGKDKBBBbKGK",
    "KGKbBBBKDKGDK......KDGKDKBBBbKGK",
    "KGKbBBBKDKGDK......KDGKDKBBBbKGK",
    "KGKbBBBKDKGDK......KDGKDKBBBbKGK",
    "KGDKKKKDDKGDK......KDGKDDKKKKDGK",
    ".KDDDDDDDKKK........KKKDDDDDDDK.",
    ".KDDDDDDDK............KDDDDDDDK.",
    "..KKKKKKK..............KKKKKKK..",
    "................................",
    "................................",
};

// 16x16: the same drawing reduced to what still reads at tray size.
inline constexpr const char* kHeadphones16[16] = {
    "................",
    "................",
    ".....KKKKKK.....",
    "...KKGGGGGGKK...",
    "..KGGKKKKKKGGK..",
    ".KGK........KGK.",
    ".KGK........KGK.",
    ".KGK........KGK.",
    "KKKKK......KKKKK",
    "KGDDKK....KKDDGK",
    "KbBDKGK..KGKDBbK",
    "KbBDKGK..KGKDBbK",
    "KbBDKGK..KGKDBbK",
    "KBBDKK....KKDBBK",
    "KKKKK......KKKKK",
    "................",
};

// 32x32: a red stroke with a darker edge from the top left to the bottom right.
inline constexpr const char* kHeadphonesCrossed32[32] = {
    "................................",
    "................................",
    "..rRr........KKKKKK.............",
    ".rRRRr....KKKGGGGGGKKK..........",
    "..rRRRr.KKGGGDDDDDDGGGKK........",
    "...rRRRrGGDDKKKKKKKKDDGGK.......",
    "....rRRRrDKK........KKDDGK......",
    ".....rRRRr............KDDGK.....",
    "....KGrRRRr............KDDGK....",
    "....KGDrRRRr............KDGK....",
    "...KGDDKrRRRr...........KDDGK...",
    "...KGDDK.rRRRr..........KDDGK...",
    "...KGDDK..rRRRr.........KDDGK...",
    "...KGDDK...rRRRr........KDDGK...",
    "..KKGDDKK...rRRRr......KKDDGKK..",
    ".KGGGGDDDK...rRRRr....KDDDGGGGK.",
    ".KGDDDDDDKKK..rRRRr.KKKDDDDDDGK.",
    "KGDKKKKDDKGDK..rRRRrDGKDDKKKKDGK",
    "KGKbBBBKDKGDK...rRRRrGKDKBBBbKGK",
    "KGKbBBBKDKGDK....rRRRrKDKBBBbKGK",
    "KGKbBBBKDKGDK.....rRRRrDKBBBbKGK",
    "KGKbBBBKDKGDK......rRRRrKBBBbKGK",
    "KGKbBBBKDKGDK......KrRRRrBBBbKGK",
    "KGKbBBBKDKGDK......KDrRRRrBBbKGK",
    "KGKbBBBKDKGDK......KDGrRRRrBbKGK",
    "KGKbBBBKDKGDK......KDGKrRRRrbKGK",
    "KGDKKKKDDKGDK......KDGKDrRRRrDGK",
    ".KDDDDDDDKKK........KKKDDrRRRrK.",
    ".KDDDDDDDK............KDDDrRRRr.",
    "..KKKKKKK..............KKKKrRr..",
    "................................",
    "................................",
};

inline constexpr const char* kHeadphonesCrossed16[16] = {
    "................",
    ".rr.............",
    ".RRr.KKKKKK.....",
    ".rRRrGGGGGGKK...",
    "..rRRrKKKKKGGK..",
    ".KGrRRr.....KGK.",
    ".KGKrRRr....KGK.",
    ".KGK.rRRr...KGK.",
    "KKKKK.rRRr.KKKKK",
    "KGDDKK.rRRrKDDGK",
    "KbBDKGK.rRRrDBbK",
    "KbBDKGK..rRRrBbK",
    "KbBDKGK..KrRRrbK",
    "KBBDKK....KrRRrK",
    "KKKKK......KrRRK",
    "................",
};

// clang-format on

} // namespace res::art
