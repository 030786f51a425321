#pragma once

#include "platform/WinTypes.h"

#include <QObject>
#include <QSystemTrayIcon>

#include <map>
#include <string>

// One icon in the desktop's notification area. Clicks on it post the callback message to its
// window as the Windows shell does: wParam = the icon's id, lParam = the mouse message.
class TrayIcon : public QObject {
public:
    TrayIcon(HWND window, UINT id, UINT callbackMessage, int iconId, const std::string& tip);

    void SetCallbackMessage(UINT message) { m_callbackMessage = message; }
    void SetIcon(int iconId);
    void SetTip(const std::string& tip);
    int IconId() const { return m_iconId; }
    QSystemTrayIcon& Icon() { return m_icon; }

    // The mouse message that stands for a click of the given kind; 0 for none.
    static UINT MouseMessageFor(QSystemTrayIcon::ActivationReason reason);
    // What a click of the given kind does.
    void Activated(QSystemTrayIcon::ActivationReason reason);

private:
    HWND m_window;
    UINT m_id;
    UINT m_callbackMessage;
    int m_iconId = 0;
    // The icons shown so far, made once each: the player switches between two icons with every
    // song, and a new QIcon each time is new pixmaps for the desktop's tray to scale and cache
    // (and, on desktops whose tray is reached over D-Bus, to send again).
    std::map<int, QIcon> m_icons;
    QString m_tip;
    QSystemTrayIcon m_icon;
};
