// A dialog on a screen of scale 2 (CTest runs this program with QT_SCALE_FACTOR=2): what it draws
// has the screen's pixels, and the program's own bitmaps of it keep the program's size.

#include "QtTestSupport.h"

#include "platform/qt/DialogView.h"
#include "platform/qt/Icons.h"
#include "res/Resource.h"

#include <cstdlib>

namespace {

QImage Argb(const QImage& image) {
    return image.convertToFormat(QImage::Format_ARGB32);
}

// Whether every opaque pixel of the icon shows at `at` (screen pixels) in the picture.
bool Shows(const QImage& picture, const QImage& icon, QPoint at) {
    const QImage shown = Argb(picture);
    const QImage expected = Argb(icon);
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            if (qAlpha(expected.pixel(x, y)) == 255 &&
                shown.pixel(at.x() + x, at.y() + y) != expected.pixel(x, y))
                return false;
        }
    }
    return true;
}

class HiDpiTest : public QtBackendTest {
protected:
    HiDpiTest() {
        dialog.Create();
        dialog.ShowWindow(SW_SHOW);
        DispatchPending();
    }

    QImage Screen() { return ViewOf(dialog).grab().toImage(); }

    TestDialog dialog;
};

TEST_F(HiDpiTest, TheScreenHasScaleTwo) {
    ASSERT_EQ(ViewOf(dialog).devicePixelRatioF(), 2.0);
}

TEST_F(HiDpiTest, IconsAreDrawnWithTheScreensPixels) {
    QWidget* icon = WidgetOf(dialog, kIconId);
    EXPECT_TRUE(Shows(icon->grab().toImage(), IconImageAt(IDI_HEADPHONES, 64), QPoint(0, 0)));

    // The program draws the dog on the dialog: its 32 pixels become blocks of two.
    backend.DrawIconOnDialog(dialog, 40, 20, IDI_DOG_FIRST);
    EXPECT_TRUE(Shows(Screen(), IconImageAt(IDI_DOG_FIRST, 64), QPoint(80, 40)));
    backend.EndDialogDrawing(dialog);
}

TEST_F(HiDpiTest, ACopyOfTheDialogHasTheProgramsSizeAndPutBackLooksTheSame) {
    const QImage before = Argb(Screen());
    const int width = ViewOf(dialog).width();
    const int height = ViewOf(dialog).height();
    CMemoryDC copy = backend.CopyFromDialog(dialog, 0, 0, width, height);
    ASSERT_EQ(copy.Width(), width);
    ASSERT_EQ(copy.Height(), height);
    backend.BltToDialog(dialog, 0, 0, width, height, copy, 0, 0);
    const QImage after = Argb(Screen());
    backend.EndDialogDrawing(dialog);
    ASSERT_EQ(after.size(), before.size());
    // The copy holds a quarter of the screen's pixels, so edges blur a little; nothing moves.
    long long difference = 0;
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x)
            difference += std::abs(qGray(before.pixel(x, y)) - qGray(after.pixel(x, y)));
    }
    EXPECT_LT(difference / (before.width() * before.height()), 8);
}

} // namespace
