#pragma once

#include "platform/qt/DialogMetrics.h"
#include "platform/ui/Backend.h"

#include <QElapsedTimer>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <unordered_map>
#include <utility>
#include <vector>

class CDialog;
class CControl;
class ControlView;

// The window of a dialog: a top-level widget of the template's fixed size with the controls'
// views placed by their dialog units. It is a plain widget, not a QDialog, so Qt adds no key
// handling of its own; the keys a Windows dialog gives meaning to become messages:
// - Escape sends IDCANCEL; Enter clicks the focused push button, or else sends the default push
//   button's command, or IDOK. What those commands do is the dialog's business.
// - The close box posts WM_CLOSE, and Alt+F4 the system menu's Close; the widget itself never
//   closes.
// - Alt+Space and a right click on the background open the system menu, whose items post
//   WM_SYSCOMMAND, except Move, which the window manager does.
// Minimising and restoring by the window manager are reported to the dialog. A template with a
// sizing border (WS_THICKFRAME) makes a window the user can make larger than the template; its
// controls follow as their templates say.
//
// A static text of a window on the screen that changes again within kTextPaceMs of its last
// change shows its newest text when that time is up, not every text in between: a folder search
// changes its progress window's figures thousands of times a second, and drawing every one of
// them cost the walk more than the walk itself. The control always holds the newest text; only
// its showing waits, and never longer than that.
class DialogView : public QWidget {
public:
    static constexpr int kTextPaceMs = 40;

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

    // Whose mouse input is at a point: the enabled control there and its top left corner, or the
    // dialog (at 0, 0) where no control is, or a static or disabled one, which let it through.
    std::pair<HWND, QPoint> MouseOwnerAt(const QPoint& position) const;
    // Whose keys are: the control with the focus, or the dialog.
    HWND KeyOwner() const;
    // Alt+F4 or Alt+Space (their virtual keys), when their message is dispatched.
    void SystemKey(int virtualKey);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void PlaceAtFirstShow(DialogView* owner);
    void FocusFirstTabStop();
    void SendCommand(int id);
    // The control a child widget of this window shows, or null.
    const CControl* ControlOf(const QWidget* widget) const;
    void SystemCommandChosen(UINT id);
    // Whether a text change of the control is held back for now (see the class comment).
    bool HoldText(const CControl& control);
    void ShowHeldTexts();

    // A control that moves or grows with the window, and where its template puts it.
    struct Follower {
        QWidget* widget;
        QRect templateRect;
        unsigned follow;
    };

    CDialog& m_dialog;
    DialogMetrics m_metrics;
    QSize m_templateSize;
    std::vector<Follower> m_followers;
    std::unordered_map<const CControl*, ControlView*> m_views;
    QPointer<QMenu> m_systemMenu;
    bool m_placed = false;
    bool m_shownBefore = false;
    QElapsedTimer m_clock;
    std::unordered_map<const CControl*, qint64> m_textShownAt; // ms on m_clock
    std::vector<const CControl*> m_heldTexts;
    QTimer m_heldTextTimer;
};
