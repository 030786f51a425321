#pragma once

#include "platform/WinTypes.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QTimer>

#include <deque>
#include <memory>
#include <string>

class OpenRequestObject;

// One Shufflon per desktop session. The first start claims the application id as its name on the
// session bus, with an object whose interface is named after the id too; a later start hands that
// one what its command line named and ends. Without a session bus every start stands alone.
//
// The running program takes a handed-over folder or song as the main window's open message
// (with the path waiting in TakeOpenRequest), but only while the window is the only one of the
// program on the screen: a search, a box or a dialog that is open holds it back until it closes,
// as it would hold back the user's own Browse.
class SessionInstance : public QObject {
public:
    // `mainDialogId`: the main window's template; `openMessage`: the message it takes requests by.
    SessionInstance(const QString& applicationId, int mainDialogId, UINT openMessage);
    ~SessionInstance() override;
    SessionInstance(const SessionInstance&) = delete;
    SessionInstance& operator=(const SessionInstance&) = delete;

    // Takes the name when no other program has it; false when one has (or there is no bus).
    bool Claim();
    // Hands the program that has the name `path` (a folder or a song; empty: only bring the window
    // to the front). True when it took the path, so that this start ends.
    bool HandOver(const std::string& path);

    // What the object on the bus calls with each request.
    void Requested(const std::string& path);

private:
    void Deliver();

    QString m_applicationId;
    int m_mainDialogId;
    UINT m_openMessage;
    QDBusConnection m_bus;
    std::unique_ptr<OpenRequestObject> m_object;
    bool m_owner = false;
    std::deque<std::string> m_waiting;
    QTimer m_retry;
};
