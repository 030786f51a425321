// The icons at any size a screen asks for: pictures made for the size, the drawing, or pixel art
// enlarged by whole factors without smoothing.

#include "platform/qt/Icons.h"
#include "res/Resource.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

QImage Argb(const QImage& image) {
    return image.convertToFormat(QImage::Format_ARGB32);
}

// The picture with every pixel made a block of factor x factor, centred in `side` pixels.
QImage Blocks(const QImage& picture, int factor, int side) {
    QImage expected(side, side, QImage::Format_ARGB32);
    expected.fill(Qt::transparent);
    const int offset = (side - picture.width() * factor) / 2;
    const QImage source = Argb(picture);
    for (int y = 0; y < picture.height() * factor; ++y) {
        for (int x = 0; x < picture.width() * factor; ++x)
            expected.setPixel(offset + x, offset + y, source.pixel(x / factor, y / factor));
    }
    return expected;
}

int Count(const QImage& image, bool (*test)(QRgb)) {
    int count = 0;
    const QImage argb = Argb(image);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x)
            count += test(argb.pixel(x, y)) ? 1 : 0;
    }
    return count;
}

bool HalfTransparent(QRgb pixel) {
    return qAlpha(pixel) > 0 && qAlpha(pixel) < 255;
}
bool Red(QRgb pixel) {
    return qAlpha(pixel) == 255 && qRed(pixel) > 180 && qGreen(pixel) < 80 && qBlue(pixel) < 80;
}

TEST(IconImageAt, PixelArtIsItsOwnPictureOrWholeBlocksOfIt) {
    struct Case {
        int id;
        int side;
        int pictureSize;
        int factor;
    };
    const Case cases[] = {
        {IDI_PLAYED, 16, 16, 1},        {IDI_PLAYED, 32, 32, 1},     {IDI_PLAYED, 48, 16, 3},
        {IDI_UNPLAYED, 64, 32, 2},      {IDI_UNPLAYED, 24, 16, 1},   {IDI_DOG_FIRST, 64, 32, 2},
        {IDI_DOG_FIRST + 3, 96, 32, 3}, {IDI_HEADPHONES, 32, 32, 1}, {IDI_IDLE, 16, 16, 1},
    };
    for (const Case& c : cases) {
        QImage image = IconImageAt(c.id, c.side);
        ASSERT_EQ(image.size(), QSize(c.side, c.side)) << c.id << " at " << c.side;
        EXPECT_EQ(Argb(image), Blocks(IconImage(c.id, c.pictureSize), c.factor, c.side))
            << c.id << " at " << c.side;
    }
    EXPECT_TRUE(IconImageAt(12345, 32).isNull());
}

TEST(IconImageAt, HeadphonesAtOtherSizesAreDrawnAndTheIdleOnesCrossedOut) {
    for (int side : {22, 48, 64, 256}) {
        QImage playing = IconImageAt(IDI_HEADPHONES, side);
        QImage idle = IconImageAt(IDI_IDLE, side);
        ASSERT_EQ(playing.size(), QSize(side, side));
        // Drawn shapes have smooth edges, which enlarged pixel art never has.
        EXPECT_GT(Count(playing, HalfTransparent), side / 2) << side;
        EXPECT_EQ(Count(playing, Red), 0) << side;
        EXPECT_GT(Count(idle, Red), side) << side;
    }
}

TEST(IconOf, GivesScreenPixelsForTheDevicePixelRatio) {
    for (int id : {IDI_PLAYED, IDI_HEADPHONES}) {
        QPixmap pixmap = IconOf(id).pixmap(QSize(16, 16), 2.0);
        EXPECT_EQ(pixmap.deviceIndependentSize(), QSizeF(16, 16)) << id;
        EXPECT_EQ(Argb(pixmap.toImage()), Argb(IconImage(id, 32))) << id;
    }
    // Painted into a surface of ratio 2, as the tray and the list paint it.
    QImage surface(64, 64, QImage::Format_ARGB32_Premultiplied);
    surface.setDevicePixelRatio(2.0);
    surface.fill(Qt::transparent);
    QPainter painter(&surface);
    IconOf(IDI_HEADPHONES).paint(&painter, QRect(0, 0, 32, 32));
    painter.end();
    surface.setDevicePixelRatio(1.0);
    EXPECT_EQ(Argb(surface), Argb(IconImageAt(IDI_HEADPHONES, 64)));
    EXPECT_TRUE(IconOf(12345).isNull());
}

} // namespace
