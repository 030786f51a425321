#pragma once

#include <QIcon>
#include <QImage>

// The program's icons as Qt images. An unknown id gives a null image or an empty icon.

// The picture made for exactly `size` pixels (16 or 32).
QImage IconImage(int id, int size);

// The icon for a square of `devicePixels` screen pixels, sharp at any size: the picture made for
// that size where there is one; else the drawing, for the icons that have one; else the picture
// that a whole factor brings closest to the size, enlarged by it without smoothing and centred.
// Pixel art enlarged by 1.5 or smoothed turns soft or uneven, so it is never scaled otherwise.
QImage IconImageAt(int id, int devicePixels);

// An icon that draws itself at the device pixel ratio of wherever it is shown (window, tray, list),
// through IconImageAt.
QIcon IconOf(int id);
