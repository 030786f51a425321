#pragma once

#include "platform/qt/DialogMetrics.h"
#include "platform/ui/Backend.h"

#include <QMenu>
#include <QPointer>
#include <QWidget>

#include <unordered_map>

class CDialog;
class CControl;
class ControlView;

// The window of a dialog: a top-level widget of the template's fixed size with the controls'
// views placed by their dialog units. It is a plain widget, not a QDialog, so Qt adds no key
// handling of its own; the keys a Windows dialog gives meaning to become messages:
// - Escape posts IDCANCEL; Enter clicks the focused push button, or else posts the default push
//   button's command, or IDOK. What those commands do is the dialog's business.
// - The close box and Alt+F4 post WM_CLOSE; the widget itself never closes.
// - Alt+Space and a right click on the background open the system menu, whose items post
//   WM_SYSCOMMAND, except Move, which the window manager does.
// Minimising and restoring by the window manager are reported to the dialog.
class DialogView : public QWidget {
public:
    explicit DialogView(CDialog& dialog);
    ~DialogView() override;

    CDialog& Dialog() const { return m_dialog; }
    const DialogMetrics& Metrics() const { return m_metrics; }
    ControlView* ViewOf(const CControl& control) const;
    QWidget* WidgetOf(int controlId) const;
    QMenu* SystemMenu() const { return m_systemMenu; }

    // owner: the window this one belongs to, or null.
    void Show(int command, DialogView* owner);
    void CenterOver(const QWidget* owner);
    void Activate();
    void FocusControl(const CControl& control, bool selectText);
    void ShowCaptionAndIcon();
    void ControlChanged(CControl& control, ControlChange change, int row);
    void PopUpSystemMenu(const QPoint& globalPosition);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void PlaceAtFirstShow(DialogView* owner);
    void FocusFirstTabStop();
    void PostCommand(int id);
    void SystemCommandChosen(UINT id);

    CDialog& m_dialog;
    DialogMetrics m_metrics;
    std::unordered_map<const CControl*, ControlView*> m_views;
    QPointer<QMenu> m_systemMenu;
    bool m_placed = false;
    bool m_shownBefore = false;
};
