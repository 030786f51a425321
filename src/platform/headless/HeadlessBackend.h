#pragma once

#include "platform/ui/Backend.h"
#include "platform/ui/Gdi.h"

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The backend of the tests: no windows, a virtual clock that moves only when the test (or a
// polling loop) moves it, and message boxes and folder choices answered by a script.
class HeadlessBackend : public Backend {
public:
    struct Box {
        HWND owner;
        std::string text;
        std::string caption;
        UINT style;
    };
    // One drawing on a dialog outside its paint: an icon, or a block put back from a bitmap.
    struct Drawing {
        enum Kind { Icon, Blt, End } kind;
        HWND window;
        int x, y, width, height;
        int iconId;  // Icon
        int sourceX; // Blt: where in the source bitmap the block comes from
        int sourceY;
    };
    struct FileBrowse {
        std::string title;
        std::vector<FileFilter> filters;
        std::string folder;
    };
    struct FocusedControl {
        HWND dialog = 0;
        int id = 0;
        bool textSelected = false;
    };
    struct Tray {
        bool present = false;
        UINT callbackMessage = 0;
        int iconId = 0;
        std::string tip;
    };

    HeadlessBackend();
    ~HeadlessBackend() override;

    // Test controls.
    void SetClock(std::uint32_t now) { m_now = now; }
    // Moves the clock, firing timers at their due times and dispatching everything they cause.
    void Advance(std::uint32_t milliseconds);
    // Dispatches every queued message (and what they post in turn).
    void RunPending();
    // Called with every step of the clock: the offline sequencer renders that much audio.
    void SetClockListener(std::function<void(std::uint32_t elapsed)> listener) {
        m_clockListener = std::move(listener);
    }
    // Answers for the next message boxes; without one a box answers IDOK, or IDYES for MB_YESNO.
    // An answer function may drive the program (advance the clock) before it answers.
    void AnswerNextBox(int answer);
    void AnswerNextBox(std::function<int(const Box&)> answer);
    void AnswerNextBrowse(std::optional<std::string> folder);
    // Answers for the next file choosers; without one a chooser answers nothing (cancel).
    void AnswerNextFileBrowse(std::optional<std::string> path);
    // What the user does in the next modal dialog made from the template: the script runs once the
    // dialog is on the screen and may click, type and move the clock. A dialog the script leaves
    // open is then closed with its close box, so a test never hangs in a modal run.
    void WhenNextModal(int templateId, std::function<void(CDialog&)> script);
    // A desktop without a notification area refuses tray icons.
    void SetTrayAvailable(bool available) { m_trayAvailable = available; }
    // Text is measured as this many dialog units a character (4, the average by the definition
    // of a dialog unit, unless a test wants wider letters).
    void SetCharacterWidth(int dialogUnits) { m_characterWidth = dialogUnits; }

    const std::vector<Box>& Boxes() const { return m_boxes; }
    const Tray& TrayState() const { return m_tray; }
    int Beeps() const { return m_beeps; }
    HWND FocusedWindow() const { return m_focused; }
    bool TimerRunning(HWND window, UINT id) const { return m_timers.count({window, id}) != 0; }
    std::vector<std::string> BrowseTitles() const { return m_browseTitles; }
    const std::vector<FileBrowse>& FileBrowses() const { return m_fileBrowses; }
    const FocusedControl& LastFocusedControl() const { return m_focusedControl; }
    int CenterCount() const { return m_centered; }
    // The window of the last dialog made from the template, while it exists; 0 otherwise.
    HWND LiveDialog(int templateId) const;
    // Client widths; without one a dialog is its template's size with the base units of an
    // 8-point dialog font (6 pixels to 4 units across, 13 to 8 down).
    void SetClientWidth(int templateId, int width) { m_clientWidths[templateId] = width; }
    // Keys held down, for IsKeyDown.
    void SetKeysDown(std::vector<int> keys) { m_keysDown = std::move(keys); }
    const std::vector<Drawing>& Drawings() const { return m_drawings; }
    // Milliseconds the GUI thread was held by Block.
    std::uint64_t BlockedMilliseconds() const { return m_blocked; }

    // Backend.
    void ProcessEvents() override;
    void WaitForEvents(std::uint32_t maxMilliseconds) override;
    void Wake() override {}
    std::uint32_t TickCount() override { return m_now; }
    void SetTimer(HWND window, UINT id, UINT milliseconds) override;
    void KillTimer(HWND window, UINT id) override;
    void CreateDialogView(CDialog& dialog) override;
    void DestroyDialogView(CDialog&) override {}
    void ShowDialog(CDialog& dialog, int command) override;
    void CenterDialog(CDialog&) override { ++m_centered; }
    void FocusDialog(CDialog& dialog) override;
    void FocusControl(CDialog& dialog, CControl& control, bool selectText) override;
    void DialogChanged(CDialog&) override {}
    void ControlChanged(CDialog&, CControl&, ControlChange, int) override {}
    bool TextFits(CDialog& dialog, CControl& control, const std::string& text) override;
    int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT style) override;
    void MessageBeep(UINT) override { ++m_beeps; }
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

    // The uniform colour a headless dialog's client area shows.
    static constexpr COLORREF kDialogColour = 0xFFC0C0C0;

private:
    struct Timer {
        UINT period;
        std::uint64_t due; // in elapsed time since the backend started, see m_elapsed
    };

    // Moves time forward by `milliseconds`, posting the ticks that fall due.
    void MoveClock(std::uint32_t milliseconds, bool dispatch);

    std::uint32_t m_now = 0;
    std::uint64_t m_elapsed = 0; // does not wrap, unlike the tick count
    std::map<std::pair<HWND, UINT>, Timer> m_timers;
    std::function<void(std::uint32_t)> m_clockListener;
    std::deque<std::function<int(const Box&)>> m_boxAnswers;
    std::deque<std::optional<std::string>> m_browseAnswers;
    std::vector<std::string> m_browseTitles;
    std::deque<std::optional<std::string>> m_fileBrowseAnswers;
    std::vector<FileBrowse> m_fileBrowses;
    std::deque<std::pair<int, std::function<void(CDialog&)>>> m_modalScripts;
    FocusedControl m_focusedControl;
    std::vector<Box> m_boxes;
    Tray m_tray;
    bool m_trayAvailable = true;
    int m_beeps = 0;
    int m_characterWidth = 4;
    int m_centered = 0;
    HWND m_focused = 0;
    std::map<int, HWND> m_dialogs; // template id -> window of the last dialog made from it
    std::map<int, int> m_clientWidths;
    std::map<int, int> m_clientHeights;
    std::vector<int> m_keysDown;
    std::vector<Drawing> m_drawings;
    std::uint64_t m_blocked = 0;
};
