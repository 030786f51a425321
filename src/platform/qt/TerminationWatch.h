#pragma once

#include <QObject>

#include <csignal>
#include <functional>
#include <memory>

class QSocketNotifier;

// Turns the requests to end the program that come from outside into one call on the GUI thread:
// SIGTERM (a logout through systemd, `kill`), SIGHUP (the terminal or the session went away),
// SIGINT (Ctrl+C) and the desktop session manager's request to save before a logout. The call
// is made while the program takes messages, as any window message would be; nothing but a write
// to a pipe happens inside a signal handler. A second Ctrl+C ends the program at once, for a
// user who does not want to wait; a signal the program was started to ignore (nohup) stays
// ignored.
//
// One watch at a time; it puts the signals' earlier handlers back when it goes.
class TerminationWatch {
public:
    // `end` runs at most once.
    explicit TerminationWatch(std::function<void()> end);
    ~TerminationWatch();
    TerminationWatch(const TerminationWatch&) = delete;
    TerminationWatch& operator=(const TerminationWatch&) = delete;

private:
    void PipeReadable();
    void End();

    std::function<void()> m_end;
    bool m_ended = false;
    int m_readFd = -1;
    int m_writeFd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QObject m_context; // receiver of the watch's connections
    struct sigaction m_previous[3];
};

// What the program does when it is told to end: every application window gets WM_ENDSESSION (the
// main dialog runs its close sequence), and then the process ends, wherever the program was.
[[noreturn]] void EndSessionAndExit();
