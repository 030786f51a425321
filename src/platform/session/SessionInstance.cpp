#include "platform/session/SessionInstance.h"

#include "platform/qt/QtBackend.h"
#include "platform/sys/OpenRequests.h"
#include "platform/ui/MessageQueue.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVirtualObject>

namespace {

const QString kOpen = QStringLiteral("Open");
// A running program answers at once unless its thread is held (a sound-card initialisation file
// that plays to its end); then this start gives up waiting and runs on its own.
constexpr int kAnswerMs = 5000;
constexpr int kRetryMs = 200;

// "io.github.shufflon.shufflon" lives at "/io/github/shufflon/shufflon".
QString ObjectPathOf(const QString& applicationId) {
    return QLatin1Char('/') + QString(applicationId).replace(QLatin1Char('.'), QLatin1Char('/'));
}

} // namespace

// The object on the bus: one method, Open(ay path), on the interface named after the application
// id; the path goes as the bytes the file system gave, which need not be UTF-8. It is handled by
// hand, since the interface's name is the build's application id.
class OpenRequestObject : public QDBusVirtualObject {
public:
    OpenRequestObject(SessionInstance& instance, QString interface)
        : m_instance(instance), m_interface(std::move(interface)) {}

    QString introspect(const QString&) const override {
        return QStringLiteral("  <interface name=\"%1\">\n"
                              "    <method name=\"Open\">\n"
                              "      <arg name=\"path\" type=\"ay\" direction=\"in\"/>\n"
                              "    </method>\n"
                              "  </interface>\n")
            .arg(m_interface);
    }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.interface() != m_interface || message.member() != kOpen)
            return false;
        if (message.signature() != QLatin1String("ay")) {
            connection.send(
                message.createErrorReply(QDBusError::InvalidArgs, QStringLiteral("Open takes a path")));
            return true;
        }
        // Taken on the thread the program's windows live on, whichever thread the bus calls from.
        QMetaObject::invokeMethod(
            &m_instance,
            [&instance = m_instance, path = message.arguments().first().toByteArray().toStdString()] {
                instance.Requested(path);
            },
            Qt::QueuedConnection);
        connection.send(message.createReply());
        return true;
    }

private:
    SessionInstance& m_instance;
    QString m_interface;
};

SessionInstance::SessionInstance(const QString& applicationId, int mainDialogId, UINT openMessage)
    : m_applicationId(applicationId), m_mainDialogId(mainDialogId), m_openMessage(openMessage),
      m_bus(QDBusConnection::sessionBus()) {
    m_retry.setInterval(kRetryMs);
    connect(&m_retry, &QTimer::timeout, this, [this] { Deliver(); });
}

SessionInstance::~SessionInstance() {
    if (m_owner) {
        m_bus.unregisterService(m_applicationId);
        m_bus.unregisterObject(ObjectPathOf(m_applicationId));
    }
}

bool SessionInstance::Claim() {
    if (!m_bus.isConnected() || !m_bus.interface())
        return false;
    // The object first, so that whoever finds the name finds the object too.
    m_object = std::make_unique<OpenRequestObject>(*this, m_applicationId);
    const QString objectPath = ObjectPathOf(m_applicationId);
    if (m_bus.registerVirtualObject(objectPath, m_object.get())) {
        const auto registered =
            m_bus.interface()->registerService(m_applicationId, QDBusConnectionInterface::DontQueueService,
                                               QDBusConnectionInterface::DontAllowReplacement);
        if (registered.isValid() && registered.value() == QDBusConnectionInterface::ServiceRegistered) {
            m_owner = true;
            return true;
        }
        m_bus.unregisterObject(objectPath);
    }
    m_object.reset();
    return false;
}

bool SessionInstance::HandOver(const std::string& path) {
    if (!m_bus.isConnected())
        return false;
    QDBusMessage open = QDBusMessage::createMethodCall(m_applicationId, ObjectPathOf(m_applicationId),
                                                       m_applicationId, kOpen);
    open << QByteArray::fromStdString(path);
    return m_bus.call(open, QDBus::Block, kAnswerMs).type() == QDBusMessage::ReplyMessage;
}

void SessionInstance::Requested(const std::string& path) {
    m_waiting.push_back(path);
    Deliver();
}

void SessionInstance::Deliver() {
    auto* backend = dynamic_cast<QtBackend*>(CurrentBackend());
    const HWND window = backend ? backend->MainWindowAlone(m_mainDialogId) : 0;
    if (window == 0) {
        if (!m_waiting.empty() && !m_retry.isActive())
            m_retry.start();
        return;
    }
    m_retry.stop();
    while (!m_waiting.empty()) {
        RequestOpen(m_waiting.front());
        m_waiting.pop_front();
        PostMessage(window, m_openMessage, 0, 0);
    }
}
