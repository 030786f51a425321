#pragma once

#include <cstdint>
#include <string_view>

// The program's icons, drawn for it and compiled in: no file, no toolkit. Each icon exists at
// 16x16 (tray, report view of the song list) and 32x32 (window icon, large-icon view). The ids are
// those of res/Resource.h: 128 headphones, 140 headphones crossed out, 142 ticked box, 143 empty box;
// 133 to 139, the About box's running dog, exist at 32x32 only. The two headphones also exist as a
// drawing, for every other size a desktop asks for.

namespace res {

struct IconImage {
    int width;
    int height;
    const std::uint32_t* argb; // width * height pixels, row-major, 0xAARRGGBB, not premultiplied
};

// The image of icon `id` at `size` (16 or 32), or nullptr for an unknown id or size. The pixels are
// constant data of the program: valid for its whole run and safe to read from any thread.
const IconImage* FindIcon(int id, int size);

// The icon as SVG text, or empty for an icon that is pixel art only. Valid for the whole run.
std::string_view FindIconDrawing(int id);

// What a box icon shows, so that it can be told without being seen.
enum class BoxMark { NotABox, Empty, Ticked };
BoxMark BoxMarkOf(int id);

} // namespace res
