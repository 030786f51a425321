#include "platform/qt/DrawingOverlay.h"

#include "platform/qt/Icons.h"

#include <QPaintEvent>
#include <QPainter>

DrawingOverlay::DrawingOverlay(QWidget& dialog)
    : QWidget(&dialog),
      m_canvas(dialog.size() * dialog.devicePixelRatioF(), QImage::Format_ARGB32_Premultiplied) {
    m_canvas.setDevicePixelRatio(dialog.devicePixelRatioF());
    m_canvas.fill(Qt::transparent);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(dialog.rect());
    raise();
    show();
}

void DrawingOverlay::Blt(int x, int y, int width, int height, const CMemoryDC& source, int sourceX,
                         int sourceY) {
    QPainter painter(&m_canvas);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QRect(x, y, width, height), ToQImage(source), QRect(sourceX, sourceY, width, height));
    painter.end();
    Show(QRect(x, y, width, height));
}

void DrawingOverlay::DrawIcon(int x, int y, int iconId) {
    const qreal ratio = m_canvas.devicePixelRatio();
    QImage icon = IconImageAt(iconId, qRound(32 * ratio));
    if (icon.isNull())
        return;
    QPainter painter(&m_canvas);
    painter.drawImage(QRectF(x, y, 32, 32), icon);
    painter.end();
    Show(QRect(x, y, 32, 32));
}

void DrawingOverlay::Show(const QRect& changed) {
    // repaint() paints at once and flushes the window's backing store to the window system.
    QRect visible = changed & rect();
    if (!visible.isEmpty())
        repaint(visible);
}

void DrawingOverlay::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const qreal ratio = m_canvas.devicePixelRatio();
    const QRectF area(event->rect());
    painter.drawImage(area, m_canvas, QRectF(area.topLeft() * ratio, area.size() * ratio));
}

QImage ToQImage(const CMemoryDC& dc) {
    if (dc.IsEmpty())
        return QImage();
    QImage image(dc.Width(), dc.Height(), QImage::Format_ARGB32);
    for (int y = 0; y < dc.Height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < dc.Width(); ++x)
            line[x] = dc.Pixel(x, y);
    }
    return image;
}

CMemoryDC FromQImage(const QImage& image) {
    QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    CMemoryDC dc(argb.width(), argb.height());
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            dc.SetPixel(x, y, line[x] | 0xFF000000);
    }
    return dc;
}
