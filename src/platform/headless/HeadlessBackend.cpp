#include "platform/headless/HeadlessBackend.h"

#include "platform/sys/Utf8.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/MessageQueue.h"

#include <algorithm>

HeadlessBackend::HeadlessBackend() {
    SetCurrentBackend(this);
}

HeadlessBackend::~HeadlessBackend() {
    if (CurrentBackend() == this)
        SetCurrentBackend(nullptr);
    ClearMessageQueue();
}

void HeadlessBackend::RunPending() {
    MSG msg;
    while (TakeQueuedMessage(msg))
        DispatchMessage(msg);
}

void HeadlessBackend::MoveClock(std::uint32_t milliseconds, bool dispatch) {
    std::uint64_t target = m_elapsed + milliseconds;
    for (;;) {
        // The earliest timer due by the target, if any; ties go to the lower window and id.
        std::map<std::pair<HWND, UINT>, Timer>::iterator next = m_timers.end();
        for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
            if (it->second.due <= target && (next == m_timers.end() || it->second.due < next->second.due))
                next = it;
        }
        if (next == m_timers.end())
            break;
        std::uint64_t step = next->second.due - m_elapsed;
        m_elapsed = next->second.due;
        m_now += static_cast<std::uint32_t>(step);
        if (m_clockListener && step > 0)
            m_clockListener(static_cast<std::uint32_t>(step));
        next->second.due = m_elapsed + std::max<UINT>(next->second.period, 1);
        MarkTimerDue(next->first.first, next->first.second);
        if (dispatch)
            RunPending();
    }
    std::uint64_t step = target - m_elapsed;
    m_elapsed = target;
    m_now += static_cast<std::uint32_t>(step);
    if (m_clockListener && step > 0)
        m_clockListener(static_cast<std::uint32_t>(step));
    if (dispatch)
        RunPending();
}

void HeadlessBackend::Advance(std::uint32_t milliseconds) {
    RunPending();
    MoveClock(milliseconds, true);
}

void HeadlessBackend::ProcessEvents() {
    // A loop that polls the queue sees one millisecond pass per look, so loops that wait for the
    // clock end in tests too.
    MoveClock(1, false);
}

void HeadlessBackend::WaitForEvents(std::uint32_t maxMilliseconds) {
    std::uint64_t wait = maxMilliseconds;
    for (const auto& [key, timer] : m_timers)
        wait = std::min<std::uint64_t>(wait, timer.due > m_elapsed ? timer.due - m_elapsed : 0);
    MoveClock(static_cast<std::uint32_t>(std::max<std::uint64_t>(wait, 1)), false);
}

void HeadlessBackend::SetTimer(HWND window, UINT id, UINT milliseconds) {
    m_timers[{window, id}] = Timer{milliseconds, m_elapsed + std::max<UINT>(milliseconds, 1)};
}

void HeadlessBackend::KillTimer(HWND window, UINT id) {
    m_timers.erase({window, id});
}

bool HeadlessBackend::TextFits(CDialog&, CControl& control, const std::string& text) {
    std::size_t characters = 0;
    for (std::size_t at = 0; at < text.size(); at += Utf8CharacterLength(text, at))
        ++characters;
    return characters * static_cast<std::size_t>(m_characterWidth) <=
           static_cast<std::size_t>(control.Template().cx);
}

void HeadlessBackend::CreateDialogView(CDialog& dialog) {
    m_dialogs[dialog.Template().id] = dialog.GetSafeHwnd();
}

HWND HeadlessBackend::LiveDialog(int templateId) const {
    auto it = m_dialogs.find(templateId);
    return it != m_dialogs.end() && CWnd::FromHandle(it->second) ? it->second : 0;
}

void HeadlessBackend::FocusDialog(CDialog& dialog) {
    m_focused = dialog.GetSafeHwnd();
}

void HeadlessBackend::FocusControl(CDialog& dialog, CControl& control, bool selectText) {
    m_focused = dialog.GetSafeHwnd();
    m_focusedControl = FocusedControl{dialog.GetSafeHwnd(), control.GetDlgCtrlID(), selectText};
}

void HeadlessBackend::WhenNextModal(int templateId, std::function<void(CDialog&)> script) {
    m_modalScripts.emplace_back(templateId, std::move(script));
}

void HeadlessBackend::ShowDialog(CDialog& dialog, int command) {
    if (command == SW_HIDE || !dialog.IsModalRunning())
        return;
    auto script = std::find_if(m_modalScripts.begin(), m_modalScripts.end(),
                               [&](const auto& entry) { return entry.first == dialog.Template().id; });
    if (script == m_modalScripts.end())
        return;
    auto run = std::move(script->second);
    m_modalScripts.erase(script);
    run(dialog);
    if (dialog.IsModalRunning())
        dialog.PostMessage(WM_CLOSE);
}

void HeadlessBackend::AnswerNextFileBrowse(std::optional<std::string> path) {
    m_fileBrowseAnswers.push_back(std::move(path));
}

std::optional<std::string> HeadlessBackend::BrowseForFile(HWND, const std::string& title,
                                                          const std::vector<FileFilter>& filters,
                                                          const std::string& folder) {
    m_fileBrowses.push_back(FileBrowse{title, filters, folder});
    if (m_fileBrowseAnswers.empty())
        return std::nullopt;
    auto answer = std::move(m_fileBrowseAnswers.front());
    m_fileBrowseAnswers.pop_front();
    return answer;
}

void HeadlessBackend::AnswerNextBox(int answer) {
    m_boxAnswers.push_back([answer](const Box&) { return answer; });
}

void HeadlessBackend::AnswerNextBox(std::function<int(const Box&)> answer) {
    m_boxAnswers.push_back(std::move(answer));
}

void HeadlessBackend::AnswerNextBrowse(std::optional<std::string> folder) {
    m_browseAnswers.push_back(std::move(folder));
}

int HeadlessBackend::MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT style) {
    Box box{owner, text, caption, style};
    m_boxes.push_back(box);
    if (m_boxAnswers.empty())
        return (style & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
    auto answer = std::move(m_boxAnswers.front());
    m_boxAnswers.pop_front();
    return answer(box);
}

std::optional<std::string> HeadlessBackend::BrowseForFolder(HWND, const std::string& title) {
    m_browseTitles.push_back(title);
    if (m_browseAnswers.empty())
        return std::nullopt;
    auto answer = std::move(m_browseAnswers.front());
    m_browseAnswers.pop_front();
    return answer;
}

bool HeadlessBackend::TrayAdd(HWND, UINT, UINT callbackMessage, int iconId, const std::string& tip) {
    if (!m_trayAvailable)
        return false;
    m_tray = Tray{true, callbackMessage, iconId, tip};
    return true;
}

bool HeadlessBackend::TrayModify(HWND, UINT, UINT flags, UINT callbackMessage, int iconId,
                                 const std::string& tip) {
    if (!m_tray.present)
        return false;
    if (flags & NIF_MESSAGE)
        m_tray.callbackMessage = callbackMessage;
    if (flags & NIF_ICON)
        m_tray.iconId = iconId;
    if (flags & NIF_TIP)
        m_tray.tip = tip;
    return true;
}

bool HeadlessBackend::TrayDelete(HWND, UINT) {
    bool was = m_tray.present;
    m_tray = Tray{};
    return was;
}

int HeadlessBackend::ClientWidth(CDialog& dialog) {
    auto it = m_clientWidths.find(dialog.Template().id);
    return it != m_clientWidths.end() ? it->second : dialog.Template().cx * 6 / 4;
}

int HeadlessBackend::ClientHeight(CDialog& dialog) {
    auto it = m_clientHeights.find(dialog.Template().id);
    return it != m_clientHeights.end() ? it->second : dialog.Template().cy * 13 / 8;
}

void HeadlessBackend::SetClientSize(CDialog& dialog, int width, int height) {
    const DialogTemplate& tmpl = dialog.Template();
    if (!(tmpl.style & WS_THICKFRAME))
        return;
    m_clientWidths[tmpl.id] = std::max(width, tmpl.cx * 6 / 4);
    m_clientHeights[tmpl.id] = std::max(height, tmpl.cy * 13 / 8);
}

CMemoryDC HeadlessBackend::CopyFromDialog(CDialog&, int, int, int width, int height) {
    return CMemoryDC(width, height, kDialogColour);
}

void HeadlessBackend::BltToDialog(CDialog& dialog, int x, int y, int width, int height, const CMemoryDC&,
                                  int sourceX, int sourceY) {
    m_drawings.push_back({Drawing::Blt, dialog.GetSafeHwnd(), x, y, width, height, 0, sourceX, sourceY});
}

void HeadlessBackend::DrawIconOnDialog(CDialog& dialog, int x, int y, int iconId) {
    m_drawings.push_back({Drawing::Icon, dialog.GetSafeHwnd(), x, y, 32, 32, iconId, 0, 0});
}

void HeadlessBackend::EndDialogDrawing(CDialog& dialog) {
    m_drawings.push_back({Drawing::End, dialog.GetSafeHwnd(), 0, 0, 0, 0, 0, 0, 0});
}

bool HeadlessBackend::IsKeyDown(int virtualKey) {
    return std::find(m_keysDown.begin(), m_keysDown.end(), virtualKey) != m_keysDown.end();
}

void HeadlessBackend::Block(std::uint32_t milliseconds) {
    // Time passes and timers fall due, but their ticks only wait in the queue.
    m_blocked += milliseconds;
    MoveClock(milliseconds, false);
}
