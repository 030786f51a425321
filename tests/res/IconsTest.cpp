#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "res/Resource.h"
#include "res/icons/Icons.h"

namespace {

constexpr int kIds[] = {IDI_HEADPHONES, IDI_IDLE, IDI_PLAYED, IDI_UNPLAYED};
constexpr int kSizes[] = {16, 32};

std::uint32_t Pixel(const res::IconImage& image, int x, int y) {
    return image.argb[y * image.width + x];
}
int Alpha(std::uint32_t argb) {
    return static_cast<int>(argb >> 24);
}
int Red(std::uint32_t argb) {
    return static_cast<int>((argb >> 16) & 0xFF);
}
int Green(std::uint32_t argb) {
    return static_cast<int>((argb >> 8) & 0xFF);
}
int Blue(std::uint32_t argb) {
    return static_cast<int>(argb & 0xFF);
}
bool IsRed(std::uint32_t argb) {
    return Alpha(argb) == 255 && Red(argb) >= 140 && Green(argb) < 80 && Blue(argb) < 80;
}

std::string Where(int id, int size) {
    return "icon " + std::to_string(id) + " at " + std::to_string(size);
}

const res::IconImage& Icon(int id, int size) {
    const res::IconImage* image = res::FindIcon(id, size);
    if (image == nullptr)
        throw std::runtime_error("missing " + Where(id, size));
    return *image;
}

TEST(Icons, EveryIconExistsAtBothSizes) {
    for (int id : kIds) {
        for (int size : kSizes) {
            const res::IconImage* image = res::FindIcon(id, size);
            ASSERT_NE(image, nullptr) << Where(id, size);
            EXPECT_EQ(image->width, size) << Where(id, size);
            EXPECT_EQ(image->height, size) << Where(id, size);
            EXPECT_NE(image->argb, nullptr) << Where(id, size);
        }
    }
}

TEST(Icons, UnknownIdsAndSizesAreNotFound) {
    EXPECT_EQ(res::FindIcon(IDI_HEADPHONES, 24), nullptr);
    EXPECT_EQ(res::FindIcon(IDI_HEADPHONES, 0), nullptr);
    EXPECT_EQ(res::FindIcon(129, 16), nullptr); // the WAVE resource's id, not an icon
    EXPECT_EQ(res::FindIcon(-1, 32), nullptr);
}

// The list's image lists are masked, so a pixel is either drawn or not: half-transparent pixels would
// turn into hard dark fringes there.
TEST(Icons, PixelsAreFullyOpaqueOrFullyTransparent) {
    for (int id : kIds) {
        for (int size : kSizes) {
            const res::IconImage& image = Icon(id, size);
            for (int i = 0; i < size * size; ++i) {
                const int alpha = Alpha(image.argb[i]);
                ASSERT_TRUE(alpha == 0 || alpha == 255) << Where(id, size) << " pixel " << i;
            }
        }
    }
}

// An icon must show its shape, not a square: its corners are background, and it draws something.
TEST(Icons, CornersAreTransparentAndSomethingIsDrawn) {
    for (int id : kIds) {
        for (int size : kSizes) {
            const res::IconImage& image = Icon(id, size);
            const int last = size - 1;
            EXPECT_EQ(Alpha(Pixel(image, 0, 0)), 0) << Where(id, size);
            EXPECT_EQ(Alpha(Pixel(image, last, 0)), 0) << Where(id, size);
            EXPECT_EQ(Alpha(Pixel(image, 0, last)), 0) << Where(id, size);
            EXPECT_EQ(Alpha(Pixel(image, last, last)), 0) << Where(id, size);
            int opaque = 0;
            for (int i = 0; i < size * size; ++i)
                opaque += Alpha(image.argb[i]) == 255;
            EXPECT_GT(opaque, size * size / 5) << Where(id, size);
        }
    }
}

// The headphones are drawn symmetric; a pixel missing on one side only is a slip in the drawing.
TEST(Icons, HeadphonesSilhouetteIsSymmetric) {
    for (int size : kSizes) {
        const res::IconImage& image = Icon(IDI_HEADPHONES, size);
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size / 2; ++x) {
                EXPECT_EQ(Alpha(Pixel(image, x, y)), Alpha(Pixel(image, size - 1 - x, y)))
                    << Where(IDI_HEADPHONES, size) << " at " << x << "," << y;
            }
        }
    }
}

// The idle tray icon is the playing one crossed out: the same headphones everywhere the stroke does
// not cover, no red in the plain headphones, and a stroke running corner to corner from top left.
TEST(Icons, IdleIconIsTheHeadphonesWithARedDiagonal) {
    for (int size : kSizes) {
        const res::IconImage& plain = Icon(IDI_HEADPHONES, size);
        const res::IconImage& crossed = Icon(IDI_IDLE, size);
        int red = 0;
        bool nearTopLeft = false;
        bool nearBottomRight = false;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                EXPECT_FALSE(IsRed(Pixel(plain, x, y)))
                    << Where(IDI_HEADPHONES, size) << " at " << x << "," << y;
                const std::uint32_t pixel = Pixel(crossed, x, y);
                if (!IsRed(pixel)) {
                    EXPECT_EQ(pixel, Pixel(plain, x, y)) << Where(IDI_IDLE, size) << " at " << x << "," << y;
                    continue;
                }
                ++red;
                EXPECT_LE(std::abs(x - y), size / 8) << "stroke pixel off the diagonal at " << x << "," << y;
                nearTopLeft |= x < size / 5 && y < size / 5;
                nearBottomRight |= x >= size - size / 5 && y >= size - size / 5;
            }
        }
        EXPECT_GE(red, size * 2) << Where(IDI_IDLE, size);
        EXPECT_TRUE(nearTopLeft) << Where(IDI_IDLE, size);
        EXPECT_TRUE(nearBottomRight) << Where(IDI_IDLE, size);
    }
}

// Marking a row played must change only what is inside its box, so the frames of the two images
// line up exactly in the list; the tick is red and stays clear of the frame.
TEST(Icons, TickedBoxDiffersFromEmptyBoxOnlyInside) {
    for (int size : kSizes) {
        const res::IconImage& empty = Icon(IDI_UNPLAYED, size);
        const res::IconImage& ticked = Icon(IDI_PLAYED, size);
        int changed = 0;
        int inside = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const std::uint32_t before = Pixel(empty, x, y);
                // Inside means the light interior of the empty box; frame and background are dark
                // or transparent.
                const bool isInside = Alpha(before) == 255 && Red(before) >= 0xC0 && Green(before) >= 0xC0;
                inside += isInside;
                const std::uint32_t after = Pixel(ticked, x, y);
                if (after == before)
                    continue;
                ++changed;
                EXPECT_TRUE(isInside) << Where(IDI_PLAYED, size) << " changes the box at " << x << "," << y;
                EXPECT_TRUE(IsRed(after)) << Where(IDI_PLAYED, size) << " at " << x << "," << y;
            }
        }
        EXPECT_GE(inside, size * size / 3) << "the empty box at " << size << " has no room inside";
        EXPECT_GE(changed, size * 2) << "the tick at " << size << " is too small to see";
    }
}

// The About box's dog: seven 32x32 frames of at most 16 colours, no two alike, in one palette.
TEST(Icons, DogFramesAreSevenDistinctSixteenColourPictures) {
    std::vector<std::uint32_t> colours;
    for (int id = IDI_DOG_FIRST; id <= IDI_DOG_LAST; ++id) {
        EXPECT_EQ(res::FindIcon(id, 16), nullptr) << id;
        const res::IconImage& frame = Icon(id, 32);
        int opaque = 0;
        for (int i = 0; i < 32 * 32; ++i) {
            ASSERT_TRUE(Alpha(frame.argb[i]) == 0 || Alpha(frame.argb[i]) == 255) << id;
            opaque += Alpha(frame.argb[i]) == 255;
            if (std::find(colours.begin(), colours.end(), frame.argb[i]) == colours.end())
                colours.push_back(frame.argb[i]);
        }
        EXPECT_GT(opaque, 32 * 32 / 5) << id;
        EXPECT_EQ(Alpha(Pixel(frame, 0, 0)), 0) << id;
        EXPECT_EQ(Alpha(Pixel(frame, 31, 31)), 0) << id;
        for (int other = IDI_DOG_FIRST; other < id; ++other)
            EXPECT_FALSE(std::equal(frame.argb, frame.argb + 32 * 32, Icon(other, 32).argb))
                << id << " = " << other;
    }
    EXPECT_LE(colours.size(), 16u);
}

// It runs to the left: its nose, the leftmost thing drawn, is in the upper half, ahead of the legs.
TEST(Icons, DogFacesLeft) {
    for (int id = IDI_DOG_FIRST; id < IDI_DOG_LAST; ++id) {
        const res::IconImage& frame = Icon(id, 32);
        int noseX = 32, noseY = 0, lowestLeft = 32;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                if (Alpha(Pixel(frame, x, y)) == 0)
                    continue;
                if (x < noseX)
                    noseX = x, noseY = y;
                if (y >= 24)
                    lowestLeft = std::min(lowestLeft, x);
            }
        }
        EXPECT_LT(noseY, 16) << id;
        EXPECT_LT(noseX + 3, lowestLeft) << id;
    }
}

} // namespace
