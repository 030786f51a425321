#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

// The program's icons as Qt images. An unknown id gives a null image or an empty icon.
QImage IconImage(int id, int size);
QPixmap IconPixmap(int id, int size);
// Both sizes, so the desktop picks what it needs (title bar, task bar, tray).
QIcon IconOf(int id);
