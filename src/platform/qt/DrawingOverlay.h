#pragma once

#include "platform/ui/Gdi.h"

#include <QImage>
#include <QWidget>

// What the program draws on a dialog outside its paint, as it would through the window's device
// context: a transparent layer over all the dialog's controls that shows the drawn pixels. Each
// drawing is painted and sent to the window system before the call returns, because the program
// holds the thread between drawings and Qt would otherwise show only the last one. The layer
// takes no input; it goes when the drawing ends, leaving the controls' own picture. It holds the
// screen's pixels, so that icons drawn on it are as sharp as the window's own; bitmaps, which the
// program makes at its own scale, are enlarged without smoothing.
class DrawingOverlay : public QWidget {
public:
    explicit DrawingOverlay(QWidget& dialog);

    void Blt(int x, int y, int width, int height, const CMemoryDC& source, int sourceX, int sourceY);
    void DrawIcon(int x, int y, int iconId);
    const QImage& Canvas() const { return m_canvas; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Show(const QRect& changed);

    QImage m_canvas;
};

// Conversions between the program's bitmaps and Qt images.
QImage ToQImage(const CMemoryDC& dc);
CMemoryDC FromQImage(const QImage& image);
