#pragma once

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>

// Whether the desktop has a notification area for tray icons now, and a call whenever that
// changes: a panel started after the program (autostart races), or one that restarts or goes
// away. Two kinds are watched: the X11 system tray, whose manager owns the _NET_SYSTEM_TRAY_S0
// selection, and the StatusNotifierWatcher on the session bus with a host registered.
//
// Qt decides once per run, at its first tray icon, which kind it uses; so the program must not
// make one (nor ask Qt whether a tray is there) before a tray is there, or a notification area on
// the bus that starts later would never get the icon.
class TrayWatcher : public QObject {
public:
    explicit TrayWatcher(std::function<void(bool present)> changed);

    bool TrayPresent() const { return m_x11Tray || m_busTray; }

private:
    bool X11TrayOwned() const;
    void LookAtX11();
    // Asks the watcher on the bus whether a host shows its items; `wait` for the answer.
    void AskBus(bool wait);
    void Update(bool x11Tray, bool busTray);

    std::function<void(bool)> m_changed;
    QDBusConnection m_bus;
    QDBusServiceWatcher m_busWatcher;
    QTimer m_poll;
    void* m_x11 = nullptr; // the X connection, when Qt runs on X11
    std::uint32_t m_selection = 0;
    bool m_x11Tray = false;
    bool m_busTray = false;
    bool m_busWatcherThere = false;
};
