#include "platform/qt/TerminationWatch.h"

#include "platform/qt/DialogView.h"
#include "platform/ui/Dialog.h"

#include <QApplication>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

// The pipe's writing end for the handler; a plain int, as only async-signal-safe calls may use it.
volatile std::sig_atomic_t g_writeFd = -1;

void OnSignal(int number) {
    int saved = errno;
    const char byte = static_cast<char>(number);
    // A full pipe already holds a request; this one adds nothing.
    [[maybe_unused]] ssize_t written = write(g_writeFd, &byte, 1);
    errno = saved;
}

} // namespace

TerminationWatch::TerminationWatch(std::function<void()> end) : m_end(std::move(end)) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_readFd = fds[0];
    m_writeFd = fds[1];
    g_writeFd = m_writeFd;
    m_notifier = std::make_unique<QSocketNotifier>(m_readFd, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, &m_context, [this] { PipeReadable(); });

    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        sigaction(kSignals[i], nullptr, &m_previous[i]);
        // A program started to ignore a signal (nohup, a shell's background job) goes on ignoring it.
        if (m_previous[i].sa_handler == SIG_IGN)
            continue;
        struct sigaction action {};
        action.sa_handler = OnSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART | (kSignals[i] == SIGINT ? SA_RESETHAND : 0);
        sigaction(kSignals[i], &action, nullptr);
    }

    // A logout asks the program to save first. The program keeps nothing a restored session
    // could use, so the session manager is told not to start it again; it ends with the session.
    if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QObject::connect(
            application, &QGuiApplication::commitDataRequest, &m_context,
            [this](QSessionManager& manager) {
                manager.setRestartHint(QSessionManager::RestartNever);
                End();
            },
            Qt::DirectConnection);
        QObject::connect(
            application, &QGuiApplication::saveStateRequest, &m_context,
            [](QSessionManager& manager) { manager.setRestartHint(QSessionManager::RestartNever); },
            Qt::DirectConnection);
    }
}

TerminationWatch::~TerminationWatch() {
    if (m_readFd < 0)
        return;
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &m_previous[i], nullptr);
    g_writeFd = -1;
    m_notifier.reset();
    close(m_readFd);
    close(m_writeFd);
}

void TerminationWatch::PipeReadable() {
    char bytes[64];
    bool signalled = false;
    while (read(m_readFd, bytes, sizeof bytes) > 0)
        signalled = true;
    if (signalled)
        End();
}

void TerminationWatch::End() {
    if (m_ended)
        return;
    m_ended = true;
    m_end();
}

void EndSessionAndExit() {
    // By handle, as a window's handler may make and destroy others.
    std::vector<HWND> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* view = dynamic_cast<DialogView*>(widget);
        if (view && (view->Dialog().Template().exStyle & WS_EX_APPWINDOW))
            windows.push_back(view->Dialog().GetSafeHwnd());
    }
    for (HWND window : windows) {
        if (CWnd* target = CWnd::FromHandle(window))
            target->SendMessage(WM_ENDSESSION, TRUE, 0);
    }
    // Whatever was running when the request came (a box waiting for the user, a search) would
    // otherwise hold the program: what is to be kept is kept, so the process ends here.
    std::fflush(nullptr);
    std::_Exit(0);
}
