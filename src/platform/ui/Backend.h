#pragma once

#include "platform/WinTypes.h"
#include "platform/ui/Message.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CDialog;
class CControl;

// What changed in a control, so that a view updates only that.
enum class ControlChange {
    Text,        // caption or text
    State,       // enabled, visible
    Value,       // checked state, slider range or position
    RowInserted, // the row argument is the index where a new row landed
    RowChanged,  // texts, image or state of one row
    RowsCleared, // rows were removed: the view reads the whole list again
    Selection,   // focus or selection moved; the row argument is the row to scroll into view, or -1
    Columns,     // columns or image lists set up
};

// One entry of a file chooser's type list: the label the user sees and the patterns it shows.
// "*" shows every file, also one without a dot; other patterns ("*.mid") match without regard to
// letter case.
struct FileFilter {
    std::string label;
    std::vector<std::string> patterns;
};

// Flags of a tray icon update, with the Windows values.
inline constexpr UINT NIF_MESSAGE = 0x1;
inline constexpr UINT NIF_ICON = 0x2;
inline constexpr UINT NIF_TIP = 0x4;

// The toolkit behind the platform layer. The Qt backend is the real program; the headless backend
// has no windows, a virtual clock and scripted answers, for tests.
class Backend {
public:
    virtual ~Backend() = default;

    // Event loop. ProcessEvents turns waiting toolkit input into queued messages without
    // blocking; WaitForEvents blocks until input arrives, a message is posted or the time is up.
    virtual void ProcessEvents() = 0;
    virtual void WaitForEvents(std::uint32_t maxMilliseconds) = 0;
    virtual void Wake() = 0; // any thread
    virtual std::uint32_t TickCount() = 0;

    // Mouse and key input reaches a window's controls only when its message is dispatched, so
    // that a loop filtering the queue can keep it from them; a backend without input has none.
    virtual void DeliverInput(const MSG&) {}

    // Timers deliver WM_TIMER through the queue.
    virtual void SetTimer(HWND window, UINT id, UINT milliseconds) = 0;
    virtual void KillTimer(HWND window, UINT id) = 0;

    // Windows. Dialogs and controls keep their own state; the backend mirrors it.
    virtual void CreateDialogView(CDialog& dialog) = 0;
    virtual void DestroyDialogView(CDialog& dialog) = 0;
    virtual void ShowDialog(CDialog& dialog, int command) = 0;
    virtual void CenterDialog(CDialog& dialog) = 0;
    virtual void FocusDialog(CDialog& dialog) = 0;
    // Gives the keyboard focus to a control; an edit's whole text is selected when asked.
    virtual void FocusControl(CDialog& dialog, CControl& control, bool selectText) = 0;
    virtual void DialogChanged(CDialog& dialog) = 0; // caption, icon or system menu
    virtual void ControlChanged(CDialog& dialog, CControl& control, ControlChange change, int row) = 0;

    // Modal boxes run a nested loop that keeps dispatching the queue.
    virtual int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT style) = 0;
    virtual void MessageBeep(UINT type) = 0;
    virtual std::optional<std::string> BrowseForFolder(HWND owner, const std::string& title) = 0;
    // A file-open chooser; the first filter is selected at first; nothing when cancelled.
    virtual std::optional<std::string> BrowseForFile(HWND owner, const std::string& title,
                                                     const std::vector<FileFilter>& filters) = 0;

    // The notification area icon. Results say whether the desktop took the request.
    virtual bool TrayAdd(HWND window, UINT id, UINT callbackMessage, int iconId, const std::string& tip) = 0;
    virtual bool TrayModify(HWND window, UINT id, UINT flags, UINT callbackMessage, int iconId,
                            const std::string& tip) = 0;
    virtual bool TrayDelete(HWND window, UINT id) = 0;
};

Backend* CurrentBackend();
void SetCurrentBackend(Backend* backend);
