#include "platform/qt/FolderChooser.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QPushButton>

FolderChooser::FolderChooser(QWidget* owner, const QString& title) : QFileDialog(owner, title) {
    setOption(QFileDialog::DontUseNativeDialog, true);
    setFileMode(QFileDialog::Directory);
    setOption(QFileDialog::ShowDirsOnly, true);
    setAcceptMode(QFileDialog::AcceptOpen);
    setDirectory(QDir::homePath());
    m_start = directory().absolutePath();
    connect(this, &QFileDialog::currentChanged, this, [this](const QString& path) {
        if (!path.isEmpty())
            m_moved = true;
    });
    connect(this, &QFileDialog::directoryEntered, this, [this](const QString&) { m_moved = true; });
    // Qt enables its confirm button whenever the shown folder could be taken; it stays disabled
    // here until there is a choice.
    if (auto* buttons = findChild<QDialogButtonBox*>()) {
        m_confirm = buttons->button(QDialogButtonBox::Open);
        if (m_confirm) {
            m_confirm->installEventFilter(this);
            HoldBackConfirm();
        }
    }
}

bool FolderChooser::HasChoice() const {
    if (m_moved)
        return true;
    // A folder typed into the name field is a choice; the empty field stands for the folder shown.
    const QStringList selected = selectedFiles();
    return !selected.isEmpty() && QDir(selected.first()).absolutePath() != m_start;
}

void FolderChooser::accept() {
    if (HasChoice())
        QFileDialog::accept();
}

void FolderChooser::HoldBackConfirm() {
    if (m_confirm && m_confirm->isEnabled() && !HasChoice())
        m_confirm->setEnabled(false);
}

bool FolderChooser::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_confirm && event->type() == QEvent::EnabledChange)
        HoldBackConfirm();
    return QFileDialog::eventFilter(watched, event);
}
