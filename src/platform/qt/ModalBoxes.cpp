#include "platform/qt/ModalBoxes.h"

#include "platform/qt/FolderChooser.h"
#include "platform/qt/Text.h"
#include "platform/ui/Backend.h"
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

namespace {

// A pattern that matches without regard to letter case, since file names on Linux keep theirs:
// "*.mid" becomes "*.[mM][iI][dD]".
QString CaseFreePattern(const std::string& pattern) {
    QString result;
    for (QChar c : ToQString(pattern)) {
        if (c.isLetter() && c.toLower() != c.toUpper())
            result += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
        else
            result += c;
    }
    return result;
}

// Qt takes a filter's patterns from the last parentheses of its text and, with the details
// hidden, shows what comes before them: the label stays as the program gives it (also one that
// names patterns itself, such as "All Files (*.*)") while the patterns in use are ours.
QString QtFilterText(const FileFilter& filter) {
    QStringList patterns;
    for (const std::string& pattern : filter.patterns)
        patterns << CaseFreePattern(pattern);
    return ToQString(filter.label) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
           QLatin1Char(')');
}

// Runs a chooser in our loop and gives the first chosen path as the file system's bytes, so that
// a name that is not valid UTF-8 still opens.
std::optional<std::string> RunChooser(QPointer<QFileDialog> chooser, QWidget* owner) {
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
    QByteArray path = QFile::encodeName(chosen.first());
    return std::string(path.constData(), static_cast<std::size_t>(path.size()));
}

} // namespace

std::optional<std::string> RunFileChooser(QWidget* owner, const std::string& title,
                                          const std::vector<FileFilter>& filters, const std::string& folder) {
    QPointer<QFileDialog> chooser =
        new QFileDialog(owner, ToQString(title), QFile::decodeName(folder.c_str()));
    chooser->setFileMode(QFileDialog::ExistingFile);
    chooser->setAcceptMode(QFileDialog::AcceptOpen);
    // Qt's own chooser, so that the labels show as given and the patterns work as above on every
    // desktop.
    chooser->setOption(QFileDialog::DontUseNativeDialog, true);
    chooser->setOption(QFileDialog::HideNameFilterDetails, true);
    QStringList names;
    for (const FileFilter& filter : filters)
        names << QtFilterText(filter);
    if (!names.isEmpty()) {
        chooser->setNameFilters(names);
        chooser->selectNameFilter(names.first());
    }
    return RunChooser(chooser, owner);
}

std::optional<std::string> RunFolderChooser(QWidget* owner, const std::string& title) {
    return RunChooser(new FolderChooser(owner, ToQString(title)), owner);
}
