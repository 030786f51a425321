// The lyrics window as the user meets it: the real main window on the Qt backend, its right-click
// menu opened with the mouse, the words of the demo karaoke song drawn large with the sung part in
// the highlight colour, filling the window as it is resized, and read by a screen reader.

#include "QtTestSupport.h"

#include "app/LyricsDlg.h"
#include "app/MainDlg.h"
#include "platform/mci/Mci.h"
#include "platform/mci/RecordingSink.h"
#include "platform/qt/DialogView.h"
#include "platform/qt/LyricsView.h"
#include "platform/sys/Paths.h"
#include "res/Resource.h"

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

namespace {

class LyricsWindowQtTest : public QtBackendTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_root.isValid());
        QDir(m_root.path()).mkpath(QStringLiteral("songs"));
        QDir(m_root.path()).mkpath(QStringLiteral("config"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(SHUFFLON_DEMO_DIR "/Amazing Grace.kar"),
                                m_root.filePath(QStringLiteral("songs/Amazing Grace.kar"))));
        QFile profile(
            m_root.filePath(QStringLiteral("config/%1.INI").arg(QString::fromStdString(ExecutableName()))));
        ASSERT_TRUE(profile.open(QIODevice::WriteOnly));
        profile.write("[SHFConfig]\nAutoplay=0\n");
        profile.close();
        m_oldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", m_root.filePath(QStringLiteral("config")).toLocal8Bit());
        m_oldDirectory = std::filesystem::current_path();
        std::filesystem::current_path(m_root.filePath(QStringLiteral("songs")).toStdString());
        mci::UseOfflineOutput(std::make_unique<mci::RecordingSink>());
        mci::SetNotifySink(&PostMessage);
    }

    void TearDown() override {
        if (m_main.HasView())
            m_main.SendMessage(WM_CLOSE);
        mci::Shutdown();
        std::filesystem::current_path(m_oldDirectory);
        if (m_oldConfig.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", m_oldConfig);
    }

    QWindow* MainWindow() { return ViewOf(m_main).windowHandle(); }
    DialogView& LyricsWindow() { return ViewOf(*m_main.m_pLyricsDlg); }
    LyricsView& Words() { return Widget<LyricsView>(*m_main.m_pLyricsDlg, IDC_LYRICS); }
    void ClickMain(int id) {
        QWidget* button = WidgetOf(m_main, id);
        QTest::mouseClick(MainWindow(), Qt::LeftButton, Qt::NoModifier,
                          button->mapTo(&ViewOf(m_main), button->rect().center()));
    }
    // The columns of the picture's upper half where the sung colour shows, and where the text's
    // own colour does.
    static std::pair<QList<int>, QList<int>> SungAndUnsungColumns(const QImage& picture) {
        QList<int> sung, unsung;
        for (int x = 0; x < picture.width(); ++x) {
            for (int y = 0; y < picture.height() / 2; ++y) {
                const QColor c = picture.pixelColor(x, y);
                if (c.blue() - c.red() > 60) {
                    sung.append(x);
                    break;
                }
                if (c.red() < 60 && c.green() < 60 && c.blue() < 60) {
                    unsung.append(x);
                    break;
                }
            }
        }
        return {sung, unsung};
    }

    QTemporaryDir m_root;
    std::filesystem::path m_oldDirectory;
    QByteArray m_oldConfig;
    CMainDlg m_main;
};

TEST_F(LyricsWindowQtTest, OpenedFromTheMenuItShowsTheWordsAsTheyAreSung) {
    m_main.Create();
    m_main.ShowWindow(SW_SHOW);
    ASSERT_TRUE(RunUntil([&] { return m_main.m_list.GetItemCount() == 1; }, 5000));

    // A right click on the window's background opens its menu; the mouse chooses "Lyrics".
    QTest::mouseClick(MainWindow(), Qt::RightButton, Qt::NoModifier, QPoint(3, 3));
    DispatchPending();
    QMenu* menu = ViewOf(m_main).SystemMenu();
    ASSERT_TRUE(RunUntil([&] { return menu->isVisible(); }, 2000));
    QAction* item = nullptr;
    for (QAction* action : menu->actions()) {
        if (action->text() == QStringLiteral("&Lyrics"))
            item = action;
    }
    ASSERT_TRUE(item);
    EXPECT_FALSE(item->isChecked());
    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(item).center());
    ASSERT_TRUE(RunUntil([&] { return LyricsWindow().isVisible() && !menu->isVisible(); }, 2000));
    EXPECT_EQ(LyricsWindow().windowTitle(), QStringLiteral("Shufflon Lyrics"));
    // It opens under the main window, not over it.
    EXPECT_GT(LyricsWindow().geometry().top(), ViewOf(m_main).geometry().bottom());
    EXPECT_TRUE(m_main.SystemMenuCheckOf(IDM_LYRICS).checked);

    // The song plays; a little over a second in, "A" and "ma" are sung, "zing" is not.
    ClickMain(IDC_PLAY);
    ASSERT_TRUE(RunUntil([&] { return m_main.m_bPlaying != FALSE; }, 2000));
    mci::AdvanceOffline(1200);
    ASSERT_TRUE(RunUntil([&] { return m_main.m_pLyricsDlg->m_words.GetSungLength() == 3; }, 2000));
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(&Words());
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->role(), QAccessible::StaticText);
    EXPECT_EQ(reader->text(QAccessible::Name), QStringLiteral("Lyrics"));
    EXPECT_EQ(reader->text(QAccessible::Description), QStringLiteral("Amazing grace! How sweet the sound"));

    // The words fill the window, the sung part in the highlight colour, the rest in the text's.
    EXPECT_EQ(Words().geometry(), LyricsWindow().rect());
    const QImage picture = Words().grab().toImage();
    EXPECT_TRUE(picture.save(QStringLiteral(SHUFFLON_TEST_OUTPUT_DIR "/lyrics-window.png")));
    const auto [sung, unsung] = SungAndUnsungColumns(picture);
    ASSERT_FALSE(sung.isEmpty());
    ASSERT_FALSE(unsung.isEmpty());
    EXPECT_LT(sung.last(), unsung.first());
    EXPECT_GT(unsung.size(), 5 * sung.size());

    // A larger window: the words follow it and grow.
    const int letters = Words().LetterPixels();
    LyricsWindow().resize(LyricsWindow().width() * 2, LyricsWindow().height() * 2);
    ASSERT_TRUE(RunUntil([&] { return Words().geometry() == LyricsWindow().rect(); }, 2000));
    EXPECT_GT(Words().LetterPixels(), letters);

    // The letters keep their size from line to line: the last line, shorter than the first and
    // with no line after it, is drawn as large as the first.
    const int grown = Words().LetterPixels();
    mci::AdvanceOffline(29000);
    ASSERT_TRUE(RunUntil(
        [&] { return m_main.m_pLyricsDlg->m_words.GetPlace().current == "Was blind, but now I see."; },
        2000));
    EXPECT_EQ(Words().LetterPixels(), grown);

    // The close box closes it as the menu item would.
    LyricsWindow().close();
    ASSERT_TRUE(RunUntil([&] { return !LyricsWindow().isVisible(); }, 2000));
    EXPECT_FALSE(m_main.SystemMenuCheckOf(IDM_LYRICS).checked);
}

} // namespace
