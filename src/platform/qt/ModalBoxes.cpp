#include "platform/qt/ModalBoxes.h"

#include "platform/qt/FolderChooser.h"
#include "platform/qt/Text.h"
#include "platform/ui/Wnd.h"

#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>

namespace {

QMessageBox::Icon IconFor(UINT style) {
    switch (style & MB_ICONMASK) {
    case MB_ICONSTOP:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// A box with only Yes and No has no answer for Escape or the close box, so both do nothing, as
// on Windows; otherwise a user who presses Escape at a question would answer No without choosing.
class NoEscapeFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close) {
            event->ignore();
            return true;
        }
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            return true;
        return QObject::eventFilter(watched, event);
    }
};

// Shows a window modal to its owner, or to every window when it has none.
void ShowModal(QWidget& window, QWidget* owner) {
    window.setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace

int RunMessageBox(QWidget* owner, const std::string& text, const std::string& caption, UINT style) {
    bool yesNo = (style & MB_TYPEMASK) == MB_YESNO;
    // Held by a guarded pointer: should the owner's window go while the box is open, it takes the
    // box with it.
    QPointer<QMessageBox> box =
        new QMessageBox(IconFor(style), WindowTitle(caption), ToQString(text),
                        yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, owner);
    box->setTextFormat(Qt::PlainText);
    if (yesNo) {
        // No close button where the window manager honours the hint; the filter covers the rest.
        box->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
        box->installEventFilter(new NoEscapeFilter(box.data()));
    }
    bool finished = false;
    QObject::connect(box.data(), &QDialog::finished, box.data(), [&finished](int) { finished = true; });
    ShowModal(*box, owner);
    RunModalLoop([&] { return finished || box.isNull(); });
    // An OK box closed without its button (Escape, its close box) answers OK.
    int answer = yesNo ? IDNO : IDOK;
    if (box) {
        QMessageBox::StandardButton button = box->standardButton(box->clickedButton());
        if (button == QMessageBox::Yes)
            answer = IDYES;
        delete box.data();
    }
    return answer;
}

std::optional<std::string> RunFolderChooser(QWidget* owner, const std::string& title) {
    QPointer<QFileDialog> chooser = new FolderChooser(owner, ToQString(title));
    bool finished = false;
    bool accepted = false;
    QObject::connect(chooser.data(), &QDialog::finished, chooser.data(), [&](int result) {
        finished = true;
        accepted = result == QDialog::Accepted;
    });
    ShowModal(*chooser, owner);
    RunModalLoop([&] { return finished || chooser.isNull(); });
    if (!chooser)
        return std::nullopt;
    QStringList chosen = chooser->selectedFiles();
    delete chooser.data();
    if (!accepted || chosen.isEmpty())
        return std::nullopt;
    // The file system's own bytes, so that a name that is not valid UTF-8 still opens.
    QByteArray path = QFile::encodeName(chosen.first());
    return std::string(path.constData(), static_cast<std::size_t>(path.size()));
}
