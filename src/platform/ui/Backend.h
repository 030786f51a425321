#pragma once

#include "platform/WinTypes.h"
#include "platform/ui/Message.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CDialog;
class CControl;
class CMemoryDC;

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
    Size,        // the program resized the control (SetWindowSize)
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
    // Whether a text shown in the control fits its width in the control's font; a backend that
    // cannot tell says it does.
    virtual bool TextFits(CDialog&, CControl&, const std::string&) { return true; }

    // Modal boxes run a nested loop that keeps dispatching the queue.
    virtual int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT style) = 0;
    virtual void MessageBeep(UINT type) = 0;
    virtual std::optional<std::string> BrowseForFolder(HWND owner, const std::string& title) = 0;
    // A file-open chooser; the first filter is selected at first; it starts in the folder given
    // (empty: where the chooser would); nothing when cancelled.
    virtual std::optional<std::string> BrowseForFile(HWND owner, const std::string& title,
                                                     const std::vector<FileFilter>& filters,
                                                     const std::string& folder) = 0;

    // The notification area icon. Results say whether the desktop took the request.
    virtual bool TrayAdd(HWND window, UINT id, UINT callbackMessage, int iconId, const std::string& tip) = 0;
    virtual bool TrayModify(HWND window, UINT id, UINT flags, UINT callbackMessage, int iconId,
                            const std::string& tip) = 0;
    virtual bool TrayDelete(HWND window, UINT id) = 0;

    // Drawing on a dialog outside its paint, as through the window's device context: what is drawn
    // lies over the controls and is on the screen when the call returns, so a busy wait that
    // follows leaves it shown. Ending the drawing gives the controls back their own picture.
    virtual int ClientWidth(CDialog& dialog) = 0;
    virtual int ClientHeight(CDialog& dialog) = 0;
    // A new size of the client area, for a window with a sizing border; never smaller than its
    // template. Other windows keep their size.
    virtual void SetClientSize(CDialog& dialog, int width, int height) = 0;
    // The picture the dialog's client area shows now, or an empty bitmap when there is none.
    virtual CMemoryDC CopyFromDialog(CDialog& dialog, int x, int y, int width, int height) = 0;
    virtual void BltToDialog(CDialog& dialog, int x, int y, int width, int height, const CMemoryDC& source,
                             int sourceX, int sourceY) = 0;
    virtual void DrawIconOnDialog(CDialog& dialog, int x, int y, int iconId) = 0;
    virtual void EndDialogDrawing(CDialog& dialog) = 0;
    // Whether the key is down at this moment, whatever input waits in the queue (GetAsyncKeyState).
    virtual bool IsKeyDown(int virtualKey) = 0;
    // Holds the GUI thread for that long: nothing is dispatched, and input and timer ticks that come
    // meanwhile wait in the queue.
    virtual void Block(std::uint32_t milliseconds) = 0;
};

Backend* CurrentBackend();
void SetCurrentBackend(Backend* backend);
