#include "platform/ui/Gdi.h"

#include "res/icons/Icons.h"

#include <algorithm>

int GetSystemMetrics(int index) {
    return index == SM_CXICON || index == SM_CYICON ? 32 : 0;
}

CMemoryDC::CMemoryDC(int width, int height, COLORREF fill) {
    if (width < 1 || height < 1)
        return;
    m_width = width;
    m_height = height;
    m_pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
}

COLORREF CMemoryDC::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return 0;
    return m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
                    static_cast<std::size_t>(x)];
}

void CMemoryDC::SetPixel(int x, int y, COLORREF colour) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x)] =
        colour;
}

void CMemoryDC::BitBlt(int x, int y, int width, int height, const CMemoryDC& source, int sourceX,
                       int sourceY) {
    StretchBlt(x, y, width, height, source, sourceX, sourceY, width, height);
}

void CMemoryDC::StretchBlt(int x, int y, int width, int height, const CMemoryDC& source, int sourceX,
                           int sourceY, int sourceWidth, int sourceHeight) {
    if (width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0)
        return;
    // Copying a bitmap onto itself reads what it held before the copy, as a blit does.
    const CMemoryDC copy = &source == this ? source : CMemoryDC();
    const CMemoryDC& from = &source == this ? copy : source;
    for (int row = std::max(0, -y); row < height && y + row < m_height; ++row) {
        int sy = sourceY + static_cast<int>(static_cast<long long>(row) * sourceHeight / height);
        for (int column = std::max(0, -x); column < width && x + column < m_width; ++column) {
            int sx = sourceX + static_cast<int>(static_cast<long long>(column) * sourceWidth / width);
            // Outside the source a blit reads nothing it could show; the target keeps its pixel.
            if (sx >= 0 && sy >= 0 && sx < from.m_width && sy < from.m_height)
                SetPixel(x + column, y + row, from.Pixel(sx, sy));
        }
    }
}

bool CMemoryDC::DrawIcon(int x, int y, int iconId) {
    const res::IconImage* icon = res::FindIcon(iconId, GetSystemMetrics(SM_CXICON));
    if (!icon)
        return false;
    for (int row = 0; row < icon->height; ++row) {
        for (int column = 0; column < icon->width; ++column) {
            COLORREF pixel = icon->argb[row * icon->width + column];
            // Icons of 16 colours are either opaque or transparent in every pixel.
            if ((pixel >> 24) >= 0x80)
                SetPixel(x + column, y + row, pixel | 0xFF000000);
        }
    }
    return true;
}

void CMemoryDC::Rectangle(int left, int top, int right, int bottom, COLORREF pen, COLORREF brush) {
    if (right - left < 1 || bottom - top < 1)
        return;
    FillRect(left, top, right, bottom, pen);
    FillRect(left + 1, top + 1, right - 1, bottom - 1, brush);
}

void CMemoryDC::FillRect(int left, int top, int right, int bottom, COLORREF brush) {
    for (int y = std::max(top, 0); y < std::min(bottom, m_height); ++y) {
        for (int x = std::max(left, 0); x < std::min(right, m_width); ++x)
            SetPixel(x, y, brush);
    }
}
