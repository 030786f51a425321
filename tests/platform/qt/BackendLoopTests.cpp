// The backend's loop: waiting and waking, timers, the modal boxes run in our own nested loop, and
// the tray icon's clicks.

#include "QtTestSupport.h"

#include "platform/qt/TrayIcon.h"
#include "platform/session/SessionInstance.h"
#include "platform/sys/OpenRequests.h"
#include "platform/ui/Shell.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <thread>

namespace {

template <class T> T* FindTopLevel() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* found = qobject_cast<T*>(widget); found && found->isVisible())
            return found;
    }
    return nullptr;
}

TEST_F(QtBackendTest, WaitReturnsWhenAnotherThreadPosts) {
    TestDialog dialog;
    dialog.Create();
    HWND hwnd = dialog.GetSafeHwnd();
    std::thread poster([hwnd] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        PostMessage(hwnd, WM_USER + 1, 7, 0);
    });
    QElapsedTimer clock;
    clock.start();
    // The audio thread's notice must not wait for the wait's limit.
    while (QueuedMessageCount() == 0 && clock.elapsed() < 20000)
        backend.WaitForEvents(20000);
    poster.join();
    EXPECT_LT(clock.elapsed(), 10000);
    DispatchPending();
    ASSERT_EQ(dialog.Received(WM_USER + 1).size(), 1u);
    EXPECT_EQ(dialog.Received(WM_USER + 1)[0].wParam, 7u);
}

TEST_F(QtBackendTest, WaitEndsAtItsLimitWhenNothingHappens) {
    // Whatever earlier tests left for Qt to do goes first.
    for (int i = 0; i < 5; ++i)
        backend.ProcessEvents();
    QElapsedTimer clock;
    clock.start();
    backend.WaitForEvents(60);
    EXPECT_GE(clock.elapsed(), 50);
}

TEST_F(QtBackendTest, TickCountIsMonotonicMilliseconds) {
    std::uint32_t first = backend.TickCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    std::uint32_t second = backend.TickCount();
    EXPECT_GE(second - first, 25u);
    EXPECT_LT(second - first, 5000u);
}

TEST_F(QtBackendTest, TimersPostTicksThatTheQueueCoalesces) {
    TestDialog dialog;
    dialog.Create();
    dialog.SetTimer(1234, 5);
    // Let several periods pass without taking messages: one tick waits, not a pile of them.
    QElapsedTimer clock;
    clock.start();
    while ((clock.elapsed() < 60 || QueuedMessageCount() == 0) && clock.elapsed() < 10000)
        backend.ProcessEvents();
    EXPECT_EQ(QueuedMessageCount(), 1u);
    DispatchPending();
    ASSERT_EQ(dialog.Received(WM_TIMER).size(), 1u);
    EXPECT_EQ(dialog.Received(WM_TIMER)[0].wParam, 1234u);

    ASSERT_TRUE(RunUntil([&] { return dialog.Received(WM_TIMER).size() >= 3; }, 10000));
    dialog.KillTimer(1234);
    DispatchPending();
    std::size_t ticks = dialog.Received(WM_TIMER).size();
    RunUntil([] { return false; }, 40);
    EXPECT_EQ(dialog.Received(WM_TIMER).size(), ticks);
}

TEST_F(QtBackendTest, MessageBoxIsAnsweredFromATickInsideItsModalLoop) {
    TestDialog dialog;
    dialog.Create();
    dialog.ShowWindow(SW_SHOW);
    QString seenTitle, seenText;
    QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
    int ticksInside = 0;
    dialog.onTimer = [&](UINT) {
        QMessageBox* box = FindTopLevel<QMessageBox>();
        if (!box)
            return;
        ++ticksInside;
        seenTitle = box->windowTitle();
        seenText = box->text();
        seenIcon = box->icon();
        EXPECT_TRUE(box->button(QMessageBox::Yes));
        EXPECT_TRUE(box->button(QMessageBox::No));
        EXPECT_FALSE(box->button(QMessageBox::Ok));
        box->button(QMessageBox::Yes)->click();
    };
    dialog.SetTimer(1, 20);
    int answer = dialog.MessageBox("Start over?", "Shufflon message", MB_YESNO | MB_ICONQUESTION);
    dialog.KillTimer(1);
    EXPECT_EQ(answer, IDYES);
    EXPECT_EQ(ticksInside, 1);
    EXPECT_EQ(seenTitle, QStringLiteral("Shufflon message"));
    EXPECT_EQ(seenText, QStringLiteral("Start over?"));
    EXPECT_EQ(seenIcon, QMessageBox::Question);
}

TEST_F(QtBackendTest, MessageBoxStylesGiveTheirIconsButtonsAndAnswers) {
    TestDialog dialog;
    dialog.Create();
    struct Case {
        UINT style;
        QMessageBox::Icon icon;
        QMessageBox::StandardButton press;
        int answer;
    };
    const Case cases[] = {
        {MB_OK | MB_ICONSTOP, QMessageBox::Critical, QMessageBox::Ok, IDOK},
        {MB_OK | MB_ICONINFORMATION, QMessageBox::Information, QMessageBox::Ok, IDOK},
        {MB_OK | MB_ICONEXCLAMATION, QMessageBox::Warning, QMessageBox::Ok, IDOK},
        {MB_YESNO, QMessageBox::NoIcon, QMessageBox::No, IDNO},
    };
    for (const Case& c : cases) {
        QMessageBox::Icon seen = QMessageBox::Information;
        QString title = QStringLiteral("unset");
        dialog.onTimer = [&](UINT) {
            if (QMessageBox* box = FindTopLevel<QMessageBox>()) {
                seen = box->icon();
                title = box->windowTitle();
                box->button(c.press)->click();
            }
        };
        dialog.SetTimer(1, 10);
        int answer = dialog.MessageBox("Text", "", c.style);
        dialog.KillTimer(1);
        EXPECT_EQ(answer, c.answer);
        EXPECT_EQ(seen, c.icon);
        // An empty caption stays empty rather than becoming the program's name.
        EXPECT_TRUE(title.trimmed().isEmpty()) << title.toStdString();
    }
}

TEST_F(QtBackendTest, YesNoBoxesIgnoreEscapeAndTheCloseBoxOtherBoxesCloseWithOk) {
    TestDialog dialog;
    dialog.Create();
    for (UINT style : {UINT{MB_YESNO | MB_ICONINFORMATION}, UINT{MB_YESNO}, UINT{MB_OK | MB_ICONSTOP}}) {
        bool yesNo = (style & MB_TYPEMASK) == MB_YESNO;
        SCOPED_TRACE(yesNo ? "Yes/No" : "OK");
        int step = 0;
        bool closeButton = true;
        dialog.onTimer = [&](UINT) {
            QMessageBox* box = FindTopLevel<QMessageBox>();
            if (!box)
                return;
            QWidget* focused = box->focusWidget() ? box->focusWidget() : box;
            switch (++step) {
            case 1:
                QTest::keyClick(focused, Qt::Key_Escape);
                break;
            case 2:
                closeButton = box->windowFlags().testFlag(Qt::WindowCloseButtonHint);
                box->close();
                break;
            default:
                box->button(QMessageBox::Yes)->click();
                break;
            }
        };
        dialog.SetTimer(1, 10);
        int answer = dialog.MessageBox("Hey, you, all songs have been played!\nPlay again?",
                                       "Shufflon message", style);
        dialog.KillTimer(1);
        EXPECT_EQ(answer, yesNo ? IDYES : IDOK);
        EXPECT_EQ(step, yesNo ? 3 : 1);
        if (yesNo) {
            EXPECT_FALSE(closeButton);
        }
    }
}

TEST_F(QtBackendTest, FolderChooserGivesTheChosenFolderOrNothing) {
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkdir(QStringLiteral("Songs")));
    QString songs = QDir(root.path()).filePath(QStringLiteral("Songs"));
    TestDialog dialog;
    dialog.Create();
    QString title;
    bool onlyFolders = false;
    dialog.onTimer = [&](UINT) {
        if (QFileDialog* chooser = FindTopLevel<QFileDialog>()) {
            title = chooser->windowTitle();
            onlyFolders = chooser->fileMode() == QFileDialog::Directory &&
                          chooser->testOption(QFileDialog::ShowDirsOnly);
            chooser->setDirectory(songs);
            static_cast<QDialog*>(chooser)->accept(); // QFileDialog makes accept() protected
        }
    };
    dialog.SetTimer(1, 20);
    std::optional<std::string> chosen = BrowseForFolder(dialog.GetSafeHwnd(), "Choose a folder");
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(QDir(QString::fromStdString(*chosen)).canonicalPath(), QDir(songs).canonicalPath());
    EXPECT_EQ(title, QStringLiteral("Choose a folder"));
    EXPECT_TRUE(onlyFolders);

    dialog.onTimer = [&](UINT) {
        if (QFileDialog* chooser = FindTopLevel<QFileDialog>())
            chooser->reject();
    };
    EXPECT_FALSE(BrowseForFolder(dialog.GetSafeHwnd(), "Choose a folder").has_value());
    dialog.KillTimer(1);
}

TEST_F(QtBackendTest, FolderChooserStartsAtHomeAndCannotBeConfirmedWithoutAChoice) {
    QTemporaryDir home;
    ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral("Songs")));
    QString songs = QDir(home.path()).filePath(QStringLiteral("Songs"));
    QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    TestDialog dialog;
    dialog.Create();
    int step = 0;
    QString shown;
    bool confirmEnabledAtStart = true;
    bool openAfterConfirm = false;
    dialog.onTimer = [&](UINT) {
        QFileDialog* chooser = FindTopLevel<QFileDialog>();
        if (!chooser)
            return;
        auto* confirm = chooser->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open);
        switch (++step) {
        case 5: // by now the folder's entries have been read
            shown = chooser->directory().absolutePath();
            confirmEnabledAtStart = confirm->isEnabled();
            static_cast<QDialog*>(chooser)->accept();
            break;
        case 6:
            openAfterConfirm = true;
            // The user types the name of a folder shown.
            QTest::keyClicks(chooser->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")),
                             QStringLiteral("Songs"));
            EXPECT_TRUE(confirm->isEnabled());
            confirm->click();
            break;
        default:
            break;
        }
    };
    dialog.SetTimer(1, 20);
    std::optional<std::string> chosen = BrowseForFolder(dialog.GetSafeHwnd(), "Choose a folder");
    dialog.KillTimer(1);
    qputenv("HOME", oldHome);
    EXPECT_EQ(QDir(shown).canonicalPath().toStdString(), QDir(home.path()).canonicalPath().toStdString());
    EXPECT_FALSE(confirmEnabledAtStart);
    EXPECT_TRUE(openAfterConfirm);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(QDir(QString::fromStdString(*chosen)).canonicalPath(), QDir(songs).canonicalPath());
}

TEST_F(QtBackendTest, TrayClicksPostTheCallbackWithTheWindowsMouseMessages) {
    TestDialog dialog;
    dialog.Create();
    TrayIcon tray(dialog.GetSafeHwnd(), 1010, WM_TRAYNOTIFY, 140, "Shufflon");
    EXPECT_EQ(tray.Icon().toolTip(), QStringLiteral("Shufflon"));
    EXPECT_FALSE(tray.Icon().icon().isNull());
    tray.Activated(QSystemTrayIcon::Trigger);
    tray.Activated(QSystemTrayIcon::DoubleClick);
    tray.Activated(QSystemTrayIcon::Context);
    tray.Activated(QSystemTrayIcon::MiddleClick);
    DispatchPending();
    std::vector<MSG> notices = dialog.Received(WM_TRAYNOTIFY);
    ASSERT_EQ(notices.size(), 3u);
    EXPECT_EQ(notices[0].wParam, 1010u);
    EXPECT_EQ(notices[0].lParam, static_cast<LPARAM>(WM_LBUTTONDOWN));
    EXPECT_EQ(notices[1].lParam, static_cast<LPARAM>(WM_LBUTTONDBLCLK));
    EXPECT_EQ(notices[2].lParam, static_cast<LPARAM>(WM_RBUTTONDOWN));
}

TEST_F(QtBackendTest, TheTrayReusesItsIconsSongAfterSong) {
    // A new icon for every switch would be new pixmaps for the desktop's tray to scale and cache,
    // which made the resident memory grow with every song.
    TrayIcon tray(1, 1010, WM_TRAYNOTIFY, 128, "Shufflon");
    const qint64 playing = tray.Icon().icon().cacheKey();
    tray.SetIcon(140);
    const qint64 idle = tray.Icon().icon().cacheKey();
    EXPECT_NE(idle, playing);
    tray.SetIcon(128);
    EXPECT_EQ(tray.Icon().icon().cacheKey(), playing);
    tray.SetIcon(140);
    EXPECT_EQ(tray.Icon().icon().cacheKey(), idle);
}

TEST_F(QtBackendTest, TrayRequestsSucceedOnlyWhereTheDesktopHasATray) {
    TestDialog dialog;
    dialog.Create();
    NOTIFYICONDATA data;
    data.hWnd = dialog.GetSafeHwnd();
    data.uID = 1010;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_TRAYNOTIFY;
    data.hIcon = 140;
    data.szTip = "Shufflon";
    bool available = QSystemTrayIcon::isSystemTrayAvailable();
    EXPECT_EQ(Shell_NotifyIcon(NIM_ADD, data) != FALSE, available);
    if (!available) {
        EXPECT_EQ(backend.TrayOf(data.hWnd, 1010), nullptr);
        EXPECT_FALSE(Shell_NotifyIcon(NIM_MODIFY, data));
        return;
    }
    // A second add of the same icon fails, as on Windows.
    EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, data));
    data.uFlags = NIF_ICON;
    data.hIcon = 128;
    EXPECT_TRUE(Shell_NotifyIcon(NIM_MODIFY, data));
    EXPECT_EQ(backend.TrayOf(data.hWnd, 1010)->IconId(), 128);
    EXPECT_TRUE(Shell_NotifyIcon(NIM_DELETE, data));
    EXPECT_FALSE(Shell_NotifyIcon(NIM_DELETE, data));
}

} // namespace

namespace {

// A folder handed over by another start reaches the main window only while the user could use it:
// not while another window of the program or a box is open.
TEST_F(QtBackendTest, AHandedOverPathWaitsUntilTheMainWindowIsAloneAgain) {
    constexpr UINT kOpen = 0x8071;
    TestDialog main;
    main.Create();
    main.ShowWindow(SW_SHOW);
    TestDialog other(kTestTemplateNoDefault);
    other.Create();
    other.ShowWindow(SW_SHOW);
    SessionInstance session(QStringLiteral("org.example.unused"), kTestTemplate.id, kOpen);
    auto delivered = [&] { return main.Received(kOpen).size(); };

    session.Requested("/music/first");
    EXPECT_FALSE(RunUntil([&] { return delivered() > 0; }, 500)) << "another window holds it back";
    other.ShowWindow(SW_HIDE);
    EXPECT_TRUE(RunUntil([&] { return delivered() == 1; }, 2000));

    int ticks = 0;
    main.onTimer = [&](UINT) {
        QMessageBox* box = FindTopLevel<QMessageBox>();
        if (!box)
            return;
        if (++ticks == 1)
            session.Requested("/music/second");
        else if (ticks == 15)
            box->button(QMessageBox::Ok)->click();
    };
    main.SetTimer(1, 20);
    main.MessageBox("Busy", "Shufflon", MB_OK);
    main.KillTimer(1);
    EXPECT_EQ(delivered(), 1u) << "a box holds it back";
    EXPECT_TRUE(RunUntil([&] { return delivered() == 2; }, 2000));
    EXPECT_EQ(TakeOpenRequest(), std::optional<std::string>("/music/first"));
    EXPECT_EQ(TakeOpenRequest(), std::optional<std::string>("/music/second"));
    EXPECT_FALSE(TakeOpenRequest());
}

} // namespace
