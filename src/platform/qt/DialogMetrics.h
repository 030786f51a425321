#pragma once

#include <QFont>
#include <QRect>

// The font of a dialog and the base units that turn its template's dialog units into pixels, by
// the Windows rule: the horizontal base unit is the average width of "A".."Z" and "a".."z"
// (rounded to whole pixels), the vertical one the font's height; a horizontal dialog unit is a
// quarter of the first, a vertical one an eighth of the second.
struct DialogMetrics {
    QFont font;
    int baseX = 6;
    int baseY = 13;

    int X(int dialogUnits) const;
    int Y(int dialogUnits) const;
    // A control's rectangle: each of x, y, width and height converted on its own, as Windows does
    // when it creates the controls of a template.
    QRect Rect(int x, int y, int cx, int cy) const;
};

// Base units of a font, measured as Windows measures them.
DialogMetrics MeasureDialogFont(const QFont& font);

// The font for a template's font name and size. The classic dialog font ("MS Sans Serif" 8 pt)
// does not exist here; it is replaced by the first installed sans serif face of a short list whose
// base units come nearest to its 6 x 13, so that the templates lay out as they did and their texts
// fit their rectangles.
DialogMetrics DialogMetricsFor(const char* fontName, int pointSize);

// a * b / c rounded to the nearest integer, halves away from zero, as the Windows MulDiv.
int MulDiv(int a, int b, int c);
