#include "platform/qt/Icons.h"

#include "res/icons/Icons.h"

QImage IconImage(int id, int size) {
    const res::IconImage* icon = res::FindIcon(id, size);
    if (!icon || !icon->argb)
        return QImage();
    // The pixels are constant data of the program that outlive every image, so the image reads
    // them in place; Qt never writes to an image made from const data without detaching first.
    return QImage(reinterpret_cast<const uchar*>(icon->argb), icon->width, icon->height, icon->width * 4,
                  QImage::Format_ARGB32);
}

QPixmap IconPixmap(int id, int size) {
    return QPixmap::fromImage(IconImage(id, size));
}

QIcon IconOf(int id) {
    QIcon icon;
    for (int size : {16, 32}) {
        QPixmap pixmap = IconPixmap(id, size);
        if (!pixmap.isNull())
            icon.addPixmap(pixmap);
    }
    return icon;
}
