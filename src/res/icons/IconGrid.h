#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// The palette the icon pictures are drawn with and the decoder that turns a picture into pixels.
// Decoding happens while compiling: a row of the wrong width or a character that is not in the
// palette stops the build instead of showing up later as a garbled icon.

namespace res::detail {

struct PaletteEntry {
    char key;
    std::uint32_t argb; // 0xAARRGGBB, not premultiplied
};

inline constexpr PaletteEntry kPalette[] = {
    {'.', 0x00000000}, // transparent
    {'K', 0xFF1C1C1E}, // outline, near black
    {'D', 0xFF4A4A4F}, // dark grey: band and ear cups
    {'G', 0xFF7C7C84}, // lighter grey: the rim of the band and cups
    {'B', 0xFF2F78D8}, // blue panel of the ear cups
    {'b', 0xFF78B0F0}, // light blue: the lit edge of the panel
    {'R', 0xFFE0201C}, // red: the stroke and the tick
    {'r', 0xFFA01010}, // dark red: their edges
    {'W', 0xFFFFFFFF}, // white inside of the box
    {'w', 0xFFD8D8D8}, // light grey shadow along the box's top and left
    {'n', 0xFF8B5A2B}, // brown coat of the dog
    {'N', 0xFF5C3A1A}, // dark brown: the dog's ear and far legs
    {'t', 0xFFD2A46E}, // tan muzzle and belly
    {'p', 0xFFE87890}, // pink tongue
};

// Throwing from a constant evaluation is ill-formed, so each of these throws is a compile error
// that names the fault.
consteval std::uint32_t PaletteColour(char key) {
    for (const PaletteEntry& entry : kPalette) {
        if (entry.key == key)
            return entry.argb;
    }
    throw "icon picture uses a character that is not in the palette";
}

template <std::size_t N> consteval std::array<std::uint32_t, N * N> DecodeGrid(const char* const (&rows)[N]) {
    std::array<std::uint32_t, N * N> pixels{};
    for (std::size_t y = 0; y < N; ++y) {
        const std::string_view row = rows[y];
        if (row.size() != N)
            throw "icon picture has a row of the wrong width";
        for (std::size_t x = 0; x < N; ++x)
            pixels[y * N + x] = PaletteColour(row[x]);
    }
    return pixels;
}

} // namespace res::detail
