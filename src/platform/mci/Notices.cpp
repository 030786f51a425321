#include "platform/mci/Notices.h"

#include <atomic>

#include "platform/mci/Engine.h"

namespace mci {

namespace {
std::atomic<NotifySink> g_sink{nullptr};
} // namespace

void SetNotifySinkFunction(NotifySink sink) {
    g_sink.store(sink, std::memory_order_release);
}

void PostNotice(HWND window, UINT code, MCIDEVICEID device) {
    if (window == 0)
        return;
    if (NotifySink sink = g_sink.load(std::memory_order_acquire))
        sink(window, MM_MCINOTIFY, static_cast<WPARAM>(code), static_cast<LPARAM>(device));
}

void PostWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (NotifySink sink = g_sink.load(std::memory_order_acquire))
        sink(window, message, wParam, lParam);
}

void NoticeList::Add(HWND window, UINT code, MCIDEVICEID device) {
    if (window != 0)
        m_notices.push_back(Notice{window, code, device});
}

void NoticeList::PostAll() const {
    for (const Notice& notice : m_notices)
        PostNotice(notice.window, notice.code, notice.device);
}

void DeliverReports(Engine& engine) {
    EngineReport report;
    while (engine.PopReport(report)) {
        if (report.notice != 0)
            PostNotice(report.window, MCI_NOTIFY_SUCCESSFUL, report.device);
    }
}

} // namespace mci
