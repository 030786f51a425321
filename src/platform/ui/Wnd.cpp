#include "platform/ui/Wnd.h"

#include "platform/ui/Backend.h"
#include "platform/ui/MessageQueue.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace {

std::unordered_map<HWND, CWnd*>& Registry() {
    static std::unordered_map<HWND, CWnd*> registry;
    return registry;
}

HWND g_nextHandle = 0x100;

Backend* g_backend = nullptr;

// The messages being dispatched, outermost first.
std::vector<MSG> g_dispatching;

} // namespace

Backend* CurrentBackend() {
    return g_backend;
}
void SetCurrentBackend(Backend* backend) {
    g_backend = backend;
}

CWnd::~CWnd() {
    UnregisterHandle();
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    auto it = Registry().find(hwnd);
    return it == Registry().end() ? nullptr : it->second;
}

LRESULT CWnd::WindowProc(UINT, WPARAM, LPARAM) {
    return 0;
}

void CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    ::PostMessage(m_hWnd, message, wParam, lParam);
}

void CWnd::RegisterHandle() {
    if (m_hWnd != 0)
        return;
    m_hWnd = g_nextHandle++;
    Registry()[m_hWnd] = this;
}

void CWnd::UnregisterHandle() {
    if (m_hWnd == 0)
        return;
    Registry().erase(m_hWnd);
    m_hWnd = 0;
}

LRESULT DispatchMessage(const MSG& msg) {
    CWnd* window = CWnd::FromHandle(msg.hwnd);
    if (!window)
        return 0;
    g_dispatching.push_back(msg);
    LRESULT result = window->WindowProc(msg.message, msg.wParam, msg.lParam);
    g_dispatching.pop_back();
    return result;
}

bool IsInputMessage(UINT message) {
    return (message >= WM_KEYDOWN && message <= WM_SYSKEYUP) ||
           (message >= WM_MOUSEMOVE && message <= WM_MOUSEWHEEL);
}

void DeliverCurrentInput(HWND hwnd, UINT message) {
    if (g_dispatching.empty())
        return;
    const MSG& current = g_dispatching.back();
    if (current.input != 0 && current.hwnd == hwnd && current.message == message && g_backend)
        g_backend->DeliverInput(current);
}

bool IsBeingDispatched(std::uint64_t input) {
    return std::any_of(g_dispatching.begin(), g_dispatching.end(),
                       [input](const MSG& msg) { return msg.input == input; });
}

void RunModalLoop(const std::function<bool()>& done) {
    while (!done()) {
        MSG msg;
        if (PeekMessage(msg)) {
            DispatchMessage(msg);
            continue;
        }
        if (done())
            break;
        if (Backend* backend = CurrentBackend())
            backend->WaitForEvents(100);
    }
}
