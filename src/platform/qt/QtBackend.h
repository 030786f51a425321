#pragma once

#include "platform/qt/Accessibility.h"
#include "platform/ui/Backend.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <map>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

class QAbstractEventDispatcher;
class DialogObserver;
class DialogView;
class DrawingOverlay;
class InputRouter;
class TrayIcon;
class TrayWatcher;

// The platform layer over Qt 6 Widgets: the real program's backend. Construct it after the
// QApplication, on the GUI thread; it makes itself the current backend.
//
// Qt's event loop never runs on its own: every loop is ours (RunModalLoop), and it lets Qt handle
// its events through ProcessEvents and WaitForEvents. Message boxes and the folder chooser are
// shown without Qt's exec() and waited for in our loop, so the message queue keeps being
// dispatched while they are open.
class QtBackend : public Backend {
public:
    QtBackend();
    ~QtBackend() override;
    QtBackend(const QtBackend&) = delete;
    QtBackend& operator=(const QtBackend&) = delete;

    // The view of a dialog, or null; for tests and tools.
    DialogView* ViewOf(const CDialog& dialog) const;
    DialogView* ViewOf(HWND window) const;
    TrayIcon* TrayOf(HWND window, UINT id) const;
    // The window of the dialog made from the template when it is the only window of the program
    // on the screen and no box is open (the user could use it); 0 otherwise.
    HWND MainWindowAlone(int templateId) const;
    // One listener to what the dialogs show, or null.
    void SetDialogObserver(DialogObserver* observer) { m_observer = observer; }

    void ProcessEvents() override;
    void WaitForEvents(std::uint32_t maxMilliseconds) override;
    void Wake() override;
    std::uint32_t TickCount() override;

    void DeliverInput(const MSG& msg) override;

    void SetTimer(HWND window, UINT id, UINT milliseconds) override;
    void KillTimer(HWND window, UINT id) override;

    void CreateDialogView(CDialog& dialog) override;
    void DestroyDialogView(CDialog& dialog) override;
    void ShowDialog(CDialog& dialog, int command) override;
    void CenterDialog(CDialog& dialog) override;
    void FocusDialog(CDialog& dialog) override;
    void FocusControl(CDialog& dialog, CControl& control, bool selectText) override;
    void DialogChanged(CDialog& dialog) override;
    void ControlChanged(CDialog& dialog, CControl& control, ControlChange change, int row) override;
    bool TextFits(CDialog& dialog, CControl& control, const std::string& text) override;

    int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT style) override;
    void MessageBeep(UINT type) override;
    std::optional<std::string> BrowseForFolder(HWND owner, const std::string& title) override;
    std::optional<std::string> BrowseForFile(HWND owner, const std::string& title,
                                             const std::vector<FileFilter>& filters,
                                             const std::string& folder) override;

    bool TrayAdd(HWND window, UINT id, UINT callbackMessage, int iconId, const std::string& tip) override;
    bool TrayModify(HWND window, UINT id, UINT flags, UINT callbackMessage, int iconId,
                    const std::string& tip) override;
    bool TrayDelete(HWND window, UINT id) override;

    int ClientWidth(CDialog& dialog) override;
    int ClientHeight(CDialog& dialog) override;
    void SetClientSize(CDialog& dialog, int width, int height) override;
    CMemoryDC CopyFromDialog(CDialog& dialog, int x, int y, int width, int height) override;
    void BltToDialog(CDialog& dialog, int x, int y, int width, int height, const CMemoryDC& source,
                     int sourceX, int sourceY) override;
    void DrawIconOnDialog(CDialog& dialog, int x, int y, int iconId) override;
    void EndDialogDrawing(CDialog& dialog) override;
    bool IsKeyDown(int virtualKey) override;
    void Block(std::uint32_t milliseconds) override;

private:
    // The notification area came or went: main windows hear of it, as Windows tells them.
    void TrayPresenceChanged(bool present);

    // The layer that shows drawings on the dialog, made on the first drawing.
    DrawingOverlay* OverlayOf(CDialog& dialog);

    // The window a dialog belongs to: the first main dialog that is on the screen, not minimised.
    DialogView* OwnerFor(const DialogView* view) const;
    // A box's owner: the given window's view when it is on the screen.
    DialogView* VisibleView(HWND window) const;

    AccessibleViews m_accessibleViews;
    QAbstractEventDispatcher* m_dispatcher;
    QObject m_context; // receiver of the backend's own connections
    QTimer m_waitLimit;
    std::vector<std::unique_ptr<DialogView>> m_views; // in order of creation
    std::map<std::pair<HWND, UINT>, std::unique_ptr<QTimer>> m_timers;
    std::map<std::pair<HWND, UINT>, std::unique_ptr<TrayIcon>> m_trays;
    std::unique_ptr<TrayWatcher> m_trayWatcher; // made at the first tray icon
    std::map<HWND, QPointer<DrawingOverlay>> m_overlays;
    std::unique_ptr<InputRouter> m_input;
    DialogObserver* m_observer = nullptr;
};
