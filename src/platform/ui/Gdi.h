#pragma once

#include "platform/WinTypes.h"

#include <cstdint>
#include <vector>

// The little of the Windows graphics interface the program draws with: a memory device context
// with its bitmap, and the raster operations on it. Pixels are 0xAARRGGBB; everything drawn is
// clipped to the bitmap, so no coordinate can write outside it.

using COLORREF = std::uint32_t; // 0xAARRGGBB, unlike Windows' 0x00BBGGRR

// The stock pens and brushes the program uses, with their Windows colours.
inline constexpr COLORREF BLACK_PEN = 0xFF000000;
inline constexpr COLORREF WHITE_BRUSH = 0xFFFFFFFF; // the brush a new device context holds
inline constexpr COLORREF DKGRAY_BRUSH = 0xFF404040;

// Large icons are 32 x 32 on every desktop the program runs on.
int GetSystemMetrics(int index);

class CMemoryDC {
public:
    CMemoryDC() = default;
    // A bitmap of the given size filled with `fill`; a size below 1 gives an empty bitmap.
    CMemoryDC(int width, int height, COLORREF fill = 0);

    bool IsEmpty() const { return m_width == 0 || m_height == 0; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    COLORREF Pixel(int x, int y) const;
    const std::vector<COLORREF>& Pixels() const { return m_pixels; }
    void SetPixel(int x, int y, COLORREF colour);

    // SRCCOPY of a `width` x `height` block of `source` at (sourceX, sourceY) to (x, y).
    void BitBlt(int x, int y, int width, int height, const CMemoryDC& source, int sourceX, int sourceY);
    // SRCCOPY scaled by nearest pixel, as StretchBlt's default mode does.
    void StretchBlt(int x, int y, int width, int height, const CMemoryDC& source, int sourceX, int sourceY,
                    int sourceWidth, int sourceHeight);
    // Draws the 32 x 32 icon `iconId` with its top left at (x, y); its transparent parts keep what
    // is there. False when there is no such icon.
    bool DrawIcon(int x, int y, int iconId);
    // A one-pixel outline in `pen` from (left, top) to (right - 1, bottom - 1), filled with `brush`.
    void Rectangle(int left, int top, int right, int bottom, COLORREF pen, COLORREF brush);
    void FillRect(int left, int top, int right, int bottom, COLORREF brush);

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<COLORREF> m_pixels;
};
