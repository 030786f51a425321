#pragma once

#include "platform/ui/Backend.h"

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
    struct FileBrowse {
        std::string title;
        std::vector<FileFilter> filters;
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
    int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT style) override;
    void MessageBeep(UINT) override { ++m_beeps; }
    std::optional<std::string> BrowseForFolder(HWND owner, const std::string& title) override;
    std::optional<std::string> BrowseForFile(HWND owner, const std::string& title,
                                             const std::vector<FileFilter>& filters) override;
    bool TrayAdd(HWND window, UINT id, UINT callbackMessage, int iconId, const std::string& tip) override;
    bool TrayModify(HWND window, UINT id, UINT flags, UINT callbackMessage, int iconId,
                    const std::string& tip) override;
    bool TrayDelete(HWND window, UINT id) override;

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
    int m_centered = 0;
    HWND m_focused = 0;
    std::map<int, HWND> m_dialogs; // template id -> window of the last dialog made from it
};
