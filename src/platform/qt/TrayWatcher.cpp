#include "platform/qt/TrayWatcher.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusReply>
#include <QDBusVariant>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>

namespace {

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");
const QString kHostProperty = QStringLiteral("IsStatusNotifierHostRegistered");

// A panel that starts is found within this time; the X selection has no notice of its own that
// reaches a client without taking over the root window's events, which belong to Qt.
constexpr int kPollMs = 1000;
// The bus is asked synchronously once, at the first tray icon; a bus that does not answer by then
// counts as one without a notification area until it does.
constexpr int kFirstAnswerMs = 500;

QDBusMessage HostQuestion() {
    QDBusMessage question = QDBusMessage::createMethodCall(kWatcherService, kWatcherPath,
                                                           QStringLiteral("org.freedesktop.DBus.Properties"),
                                                           QStringLiteral("Get"));
    question << kWatcherService << kHostProperty;
    return question;
}

bool HostRegistered(const QDBusMessage& reply) {
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    return qvariant_cast<QDBusVariant>(reply.arguments().first()).variant().toBool();
}

} // namespace

TrayWatcher::TrayWatcher(std::function<void(bool)> changed)
    : m_changed(std::move(changed)), m_bus(QDBusConnection::sessionBus()) {
    auto* x11 = QGuiApplication::platformName() == QLatin1String("xcb")
                    ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                    : nullptr;
    if (auto* connection = x11 ? x11->connection() : nullptr) {
        // One X screen per display on every desktop of our time: the tray is screen 0's.
        const char name[] = "_NET_SYSTEM_TRAY_S0";
        xcb_intern_atom_reply_t* atom =
            xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr);
        if (atom) {
            m_x11 = connection;
            m_selection = atom->atom;
            std::free(atom);
        }
    }
    m_x11Tray = X11TrayOwned();
    if (m_bus.isConnected()) {
        m_busWatcher.setConnection(m_bus);
        m_busWatcher.setWatchMode(QDBusServiceWatcher::WatchForOwnerChange);
        m_busWatcher.addWatchedService(kWatcherService);
        connect(&m_busWatcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
                [this](const QString&, const QString&, const QString& owner) {
                    m_busWatcherThere = !owner.isEmpty();
                    if (m_busWatcherThere)
                        AskBus(false);
                    else
                        Update(m_x11Tray, false);
                });
        AskBus(true);
    }
    m_poll.setInterval(kPollMs);
    connect(&m_poll, &QTimer::timeout, this, [this] {
        LookAtX11();
        // A watcher can come before its host; it is asked again until it has one.
        if (m_busWatcherThere && !m_busTray)
            AskBus(false);
    });
    m_poll.start();
}

bool TrayWatcher::X11TrayOwned() const {
    if (!m_x11)
        return false;
    auto* connection = static_cast<xcb_connection_t*>(m_x11);
    xcb_get_selection_owner_reply_t* reply =
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, m_selection), nullptr);
    const bool owned = reply && reply->owner != XCB_NONE;
    std::free(reply);
    return owned;
}

void TrayWatcher::LookAtX11() {
    Update(X11TrayOwned(), m_busTray);
}

void TrayWatcher::AskBus(bool wait) {
    if (wait) {
        const QDBusMessage reply = m_bus.call(HostQuestion(), QDBus::Block, kFirstAnswerMs);
        m_busWatcherThere = reply.type() == QDBusMessage::ReplyMessage;
        m_busTray = HostRegistered(reply);
        return;
    }
    auto* pending = new QDBusPendingCallWatcher(m_bus.asyncCall(HostQuestion(), kPollMs), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        if (m_busWatcherThere)
            Update(m_x11Tray, HostRegistered(call->reply()));
    });
}

void TrayWatcher::Update(bool x11Tray, bool busTray) {
    const bool before = TrayPresent();
    m_x11Tray = x11Tray;
    m_busTray = busTray;
    if (TrayPresent() != before && m_changed)
        m_changed(TrayPresent());
}
