#include "platform/qt/Icons.h"

#include "res/icons/Icons.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>

#include <array>
#include <map>

namespace {

constexpr std::array kPictureSizes{32, 16}; // largest first

QImage Drawn(std::string_view drawing, int devicePixels) {
    QSvgRenderer renderer(QByteArray(drawing.data(), static_cast<qsizetype>(drawing.size())));
    if (!renderer.isValid())
        return QImage();
    QImage image(devicePixels, devicePixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(0, 0, devicePixels, devicePixels));
    return image;
}

QImage Enlarged(const QImage& picture, int factor, int devicePixels) {
    QImage image(devicePixels, devicePixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const int side = picture.width() * factor;
    const int offset = (devicePixels - side) / 2;
    // No SmoothPixmapTransform: every pixel of the picture becomes a block of factor x factor.
    painter.drawImage(QRect(offset, offset, side, side), picture);
    return image;
}

// Draws the icon on demand at the size and pixel ratio asked for, and keeps what it drew.
class ProgramIconEngine : public QIconEngine {
public:
    explicit ProgramIconEngine(int id) : m_id(id) {}

    QIconEngine* clone() const override { return new ProgramIconEngine(m_id); }
    QString key() const override { return QStringLiteral("shufflon"); }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        // The sizes desktops ask for most (menus, tray, title bars, task switchers); the drawing
        // serves any other size just as well.
        QList<QSize> sizes;
        const bool drawn = !res::FindIconDrawing(m_id).empty();
        for (int size : {16, 22, 24, 32, 48, 64, 128}) {
            if (drawn || res::FindIcon(m_id, size))
                sizes.append(QSize(size, size));
        }
        return sizes;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        const int side = std::min(size.width(), size.height());
        if (side <= 0)
            return QPixmap();
        auto cached = m_images.find(side);
        if (cached == m_images.end())
            cached = m_images.emplace(side, IconImageAt(m_id, side)).first;
        QPixmap pixmap = QPixmap::fromImage(cached->second);
        if (mode != QIcon::Normal && qobject_cast<QApplication*>(QCoreApplication::instance())) {
            // Selected rows and disabled windows tint or grey it as the style does every icon.
            QStyleOption option;
            option.palette = QApplication::palette();
            pixmap = QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
        }
        return pixmap;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        const int side = std::min(rect.width(), rect.height());
        QPixmap shown = pixmap(QSize(side, side) * ratio, mode, state);
        shown.setDevicePixelRatio(ratio);
        painter->drawPixmap(QRectF(rect.x() + (rect.width() - side) / 2.0,
                                   rect.y() + (rect.height() - side) / 2.0, side, side),
                            shown, QRectF(shown.rect()));
    }

private:
    int m_id;
    std::map<int, QImage> m_images; // by side in device pixels
};

} // namespace

QImage IconImage(int id, int size) {
    const res::IconImage* icon = res::FindIcon(id, size);
    if (!icon || !icon->argb)
        return QImage();
    // The pixels are constant data of the program that outlive every image, so the image reads
    // them in place; Qt never writes to an image made from const data without detaching first.
    return QImage(reinterpret_cast<const uchar*>(icon->argb), icon->width, icon->height, icon->width * 4,
                  QImage::Format_ARGB32);
}

QImage IconImageAt(int id, int devicePixels) {
    if (devicePixels <= 0)
        return QImage();
    QImage exact = IconImage(id, devicePixels);
    if (!exact.isNull())
        return exact;
    if (std::string_view drawing = res::FindIconDrawing(id); !drawing.empty())
        return Drawn(drawing, devicePixels);
    // The largest picture drawn at the largest whole factor that fits; of two that fill the same
    // size, the finer one.
    QImage best;
    int bestFactor = 0;
    for (int size : kPictureSizes) {
        const int factor = devicePixels / size;
        QImage picture = IconImage(id, size);
        if (factor >= 1 && !picture.isNull() && size * factor > best.width() * bestFactor) {
            best = picture;
            bestFactor = factor;
        }
    }
    if (!best.isNull())
        return Enlarged(best, bestFactor, devicePixels);
    // Smaller than every picture: only smoothing keeps anything of it.
    for (int size : kPictureSizes) {
        if (QImage picture = IconImage(id, size); !picture.isNull())
            return picture.scaled(devicePixels, devicePixels, Qt::IgnoreAspectRatio,
                                  Qt::SmoothTransformation);
    }
    return QImage();
}

QIcon IconOf(int id) {
    if (!res::FindIcon(id, 16) && !res::FindIcon(id, 32) && res::FindIconDrawing(id).empty())
        return QIcon();
    return QIcon(new ProgramIconEngine(id));
}
