#include "platform/qt/TrayIcon.h"

#include "platform/qt/Icons.h"
#include "platform/qt/Text.h"
#include "platform/ui/MessageQueue.h"

TrayIcon::TrayIcon(HWND window, UINT id, UINT callbackMessage, int iconId, const std::string& tip)
    : m_window(window), m_id(id), m_callbackMessage(callbackMessage) {
    SetIcon(iconId);
    SetTip(tip);
    connect(&m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { Activated(reason); });
    m_icon.show();
}

void TrayIcon::SetIcon(int iconId) {
    auto [icon, made] = m_icons.try_emplace(iconId);
    if (made)
        icon->second = IconOf(iconId);
    else if (iconId == m_iconId)
        return;
    m_iconId = iconId;
    m_icon.setIcon(icon->second);
}

void TrayIcon::SetTip(const std::string& tip) {
    // Unchanged tips are not sent again, for the same reason as icons.
    const QString text = ToQString(tip);
    if (text == m_tip)
        return;
    m_tip = text;
    m_icon.setToolTip(text);
}

UINT TrayIcon::MouseMessageFor(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return WM_LBUTTONDOWN;
    case QSystemTrayIcon::Context:
        return WM_RBUTTONDOWN;
    case QSystemTrayIcon::DoubleClick:
        // The first click of a double click came as a Trigger already, as with Windows.
        return WM_LBUTTONDBLCLK;
    default:
        return 0;
    }
}

void TrayIcon::Activated(QSystemTrayIcon::ActivationReason reason) {
    if (UINT mouse = MouseMessageFor(reason); mouse != 0 && m_callbackMessage != 0)
        PostMessage(m_window, m_callbackMessage, m_id, static_cast<LPARAM>(mouse));
}
