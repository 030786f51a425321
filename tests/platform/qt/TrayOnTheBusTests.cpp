// A notification area on the session bus (a StatusNotifierWatcher with its host), as a panel
// that starts after the program offers it, and as it goes away: the program's main window hears
// of both, and only then may it have a tray icon. On a private bus of this test, without a display.

#include "QtTestSupport.h"

#include "platform/ui/Shell.h"
#include "res/dialogs/MainDialog.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QTemporaryDir>

#include <atomic>

namespace {

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");

// The panel's side: a watcher that answers whether a host shows the items.
class Panel : public QDBusVirtualObject {
public:
    Panel() : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("panel"))) {
        m_bus.registerVirtualObject(kWatcherPath, this);
    }
    ~Panel() override {
        Leave();
        m_bus.unregisterObject(kWatcherPath);
    }
    void Come(bool withHost) {
        host = withHost;
        m_bus.registerService(kWatcherService);
    }
    void Leave() { m_bus.unregisterService(kWatcherService); }

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() != QLatin1String("Get"))
            return false;
        connection.send(message.createReply(QVariant::fromValue(QDBusVariant(host.load()))));
        return true;
    }

    std::atomic<bool> host{false};

private:
    QDBusConnection m_bus;
};

// The main window, which the backend tells of the notification area.
class MainWindow : public CDialog {
public:
    MainWindow() : CDialog(kMainDialogTemplate) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TASKBARCREATED || message == WM_TASKBARGONE)
            heard.push_back(message);
        return CDialog::WindowProc(message, wParam, lParam);
    }
    std::vector<UINT> heard;
};

bool AddIcon(const CDialog& window) {
    NOTIFYICONDATA data;
    data.hWnd = window.GetSafeHwnd();
    data.uID = 1010;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.hIcon = 140;
    data.szTip = "Shufflon";
    return Shell_NotifyIcon(NIM_ADD, data) != FALSE;
}

TEST_F(QtBackendTest, ANotificationAreaThatComesLateIsToldAndSoIsOneThatGoes) {
    MainWindow window;
    window.Create();
    Panel panel;
    EXPECT_FALSE(AddIcon(window)) << "no notification area yet";

    // A watcher without a host shows no icons yet.
    panel.Come(false);
    EXPECT_FALSE(RunUntil([&] { return !window.heard.empty(); }, 1500));
    panel.host = true;
    ASSERT_TRUE(RunUntil([&] { return !window.heard.empty(); }, 5000));
    EXPECT_EQ(window.heard, std::vector<UINT>{WM_TASKBARCREATED});
    EXPECT_TRUE(AddIcon(window));
    EXPECT_NE(backend.TrayOf(window.GetSafeHwnd(), 1010), nullptr);

    // The panel goes: the icon with it, and the window hears of it.
    panel.Leave();
    ASSERT_TRUE(RunUntil([&] { return window.heard.size() == 2; }, 5000));
    EXPECT_EQ(window.heard.back(), WM_TASKBARGONE);
    EXPECT_EQ(backend.TrayOf(window.GetSafeHwnd(), 1010), nullptr);

    // It comes back with its host.
    panel.Come(true);
    ASSERT_TRUE(RunUntil([&] { return window.heard.size() == 3; }, 5000));
    EXPECT_EQ(window.heard.back(), WM_TASKBARCREATED);
}

} // namespace

// The test runs on a session bus of its own, started before anything asks for the bus.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    QTemporaryDir folder;
    QProcess daemon;
    daemon.start(QStringLiteral("dbus-daemon"),
                 {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                  QStringLiteral("--print-address"),
                  QStringLiteral("--address=unix:path=") + folder.filePath("bus")});
    if (!daemon.waitForReadyRead(10000)) {
        std::fprintf(stderr, "dbus-daemon did not start\n");
        return 1;
    }
    qputenv("DBUS_SESSION_BUS_ADDRESS", daemon.readLine().trimmed());
    const int result = RUN_ALL_TESTS();
    daemon.terminate();
    daemon.waitForFinished();
    return result;
}
