#pragma once

#include <QFileDialog>
#include <QString>

class QPushButton;

// The folder chooser: only folders, starting in the user's home folder with nothing chosen. It
// cannot be confirmed until the user has chosen: selected or typed a folder, or gone into one.
// Without that rule OK would give whatever folder the chooser happens to show, and a search of
// the whole home folder is not something to start by accident.
//
// It is Qt's own dialog, never the desktop's: only this one lets the program hold back OK.
class FolderChooser : public QFileDialog {
public:
    FolderChooser(QWidget* owner, const QString& title);

    bool HasChoice() const;

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void HoldBackConfirm();

    QString m_start;
    QPushButton* m_confirm = nullptr;
    bool m_moved = false; // the user selected a folder or went into one
};
