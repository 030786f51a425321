// The program's own windows driven as a user's hand drives them: real input sent to the top-level
// window, what the program did read from its dialogs, its boxes and its drawings.

#include "QtTestSupport.h"

#include "app/MainDlg.h"
#include "platform/mci/Mci.h"
#include "platform/mci/RecordingSink.h"
#include "platform/qt/DialogView.h"
#include "platform/qt/DrawingOverlay.h"
#include "platform/qt/ListView.h"
#include "platform/sys/Paths.h"
#include "res/Resource.h"
#include "songlist/AboutDlg.h"

#include <QApplication>
#include <QTemporaryDir>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

// Counts what the About box's drawing layer paints: the dog's frames reaching the screen.
class DrawingCounter : public QObject {
public:
    DrawingCounter() { qApp->installEventFilter(this); }
    ~DrawingCounter() override { qApp->removeEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && dynamic_cast<DrawingOverlay*>(watched))
            ++paints;
        return false;
    }
};

class AboutBox : public CAboutDlg {
public:
    void OnOK() override { ++okCount; }
    int okCount = 0;
};

TEST_F(QtBackendTest, AboutBoxDoubleClicksGoWhereThePointerIs) {
    constexpr const char* kFirstHint = "Hi!\nTry this on THE BIG ICON!";
    constexpr const char* kSecondHint = "Perfect!\nNow doubleclick on THIS BIG ICON with CTRL+SHIFT!";
    enum Where { Background, Icon, Ok };
    struct Case {
        Where where;
        Qt::KeyboardModifiers keys;
        const char* hint; // or null
        bool dog;
    };
    // The bark goes to a recording: no sound output is needed.
    mci::UseOfflineOutput(std::make_unique<mci::RecordingSink>());
    const Case cases[] = {
        {Background, Qt::ControlModifier | Qt::ShiftModifier, kFirstHint, false},
        {Icon, Qt::NoModifier, kSecondHint, false},
        {Icon, Qt::ControlModifier, kSecondHint, false},
        {Icon, Qt::ShiftModifier, kSecondHint, false},
        {Icon, Qt::ControlModifier | Qt::ShiftModifier, nullptr, true},
        {Ok, Qt::ControlModifier | Qt::ShiftModifier, nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "at " << c.where << " with keys " << c.keys.toInt());
        AboutBox about;
        about.Create();
        about.ShowWindow(SW_SHOW);
        DialogView& view = ViewOf(about);
        // Left of the memory and disk lines, below the icon.
        QPoint at = c.where == Background ? QPoint(view.Metrics().X(10), view.Metrics().Y(100))
                    : c.where == Icon     ? PointOf(view, IDC_ABOUTICON)
                                          : PointOf(view, IDOK);
        DrawingCounter drawings;
        ModalAnswerer answerer;
        DoubleClick(view, at, c.keys);
        DispatchPending();
        EXPECT_EQ(answerer.boxes, c.hint ? std::vector<std::string>{c.hint} : std::vector<std::string>{});
        if (c.dog)
            EXPECT_GT(drawings.paints, 40) << "the dog runs its 41 frames across the box";
        else
            EXPECT_EQ(drawings.paints, 0);
        EXPECT_EQ(about.okCount, c.where == Ok ? 2 : 0) << "each click of a double click on OK is OK";
    }
    mci::Shutdown();
}

// A song of 3.5 s: one note for 2.5 s, then a second of silence.
void WriteSong(const std::filesystem::path& path) {
    static const unsigned char kSong[] = {
        'M', 'T',  'h',  'd',  0,    0,    0,    6,    0,    0,    0,    1,    0x03, 0xE8, 'M',  'T',
        'r', 'k',  0,    0,    0,    0x18, 0,    0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40, 0,    0xC0, 0,
        0,   0x90, 0x3C, 0x64, 0x93, 0x44, 0x80, 0x3C, 0,    0x87, 0x68, 0xFF, 0x2F, 0};
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(kSong), sizeof kSong);
}

// The main window notes every command and notice it receives.
class MainWindow : public CMainDlg {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED)
            commands.push_back(LOWORD(wParam));
        if (message == WM_NOTIFY && static_cast<UINT>(lParam) == NM_DBLCLK)
            commands.push_back(static_cast<int>(wParam));
        return CMainDlg::WindowProc(message, wParam, lParam);
    }
    std::vector<int> commands;
};

// The main window on three songs, with the sequencer playing into a recording and the settings,
// save and delete folders in a scratch folder. No song plays before the user asks.
class MainWindowTest : public QtBackendTest {
protected:
    MainWindowTest() : m_oldFolder(std::filesystem::current_path()) {
        std::filesystem::path root(m_scratch.path().toStdString());
        std::filesystem::create_directories(root / "songs");
        std::filesystem::create_directories(root / "config");
        for (const char* name : {"one.mid", "two.mid", "three.mid"})
            WriteSong(root / "songs" / name);
        std::ofstream(root / "config" / (ExecutableName() + ".INI"))
            << "[SHFConfig]\nAutoplay=0\nSaveFolder=" << (root / "saved").string()
            << "\nDeleteFolder=" << (root / "deleted").string() << "\n";
        setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
        std::filesystem::current_path(root / "songs");
        mci::UseOfflineOutput(std::make_unique<mci::RecordingSink>());
        mci::SetNotifySink(&PostMessage);
        main.Create();
        main.ShowWindow(SW_SHOW);
        Widget<ListView>(main, IDC_SONGLIST).FlushRows();
        DispatchPending();
    }
    ~MainWindowTest() override {
        main.SendMessage(WM_CLOSE);
        mci::Shutdown();
        std::filesystem::current_path(m_oldFolder);
    }

    DialogView& View() { return ViewOf(main); }
    QPoint RowPoint(int row) {
        ListView& list = Widget<ListView>(main, IDC_SONGLIST);
        return list.viewport()->mapTo(&View(), list.visualRect(list.Model().index(row, 0)).center());
    }

    QTemporaryDir m_scratch;
    std::filesystem::path m_oldFolder;
    MainWindow main;
};

TEST_F(MainWindowTest, EveryButtonAndTheListsDoubleClickWorkThroughTheWindow) {
    struct Case {
        int id;
        std::function<bool()> done; // what the command did, as the window shows it
    };
    const Case cases[] = {
        {IDC_PLAY, [&] { return main.GetDlgItemText(IDC_PLAY) == "Stop"; }},
        {IDC_PAUSE, [&] { return main.GetDlgItemText(IDC_PAUSE) == "Resume"; }},
        {IDC_NEXT, [&] { return main.GetDlgItemText(IDC_PAUSE) == "Resume"; }},
        {IDC_SAVESONG, [&] { return std::filesystem::exists(m_scratch.filePath("saved").toStdString()); }},
        {IDC_DELETESONG, [&] { return main.m_list.GetItemCount() == 3; }},
        {IDC_BROWSE, [&] { return main.m_list.GetItemCount() == 3; }},
        {IDC_CONFIG, [] { return true; }},
        {IDC_ABOUT, [] { return true; }},
        // Without a tray to come back from, Hide minimises.
        {IDC_HIDE, [&] { return View().isMinimized(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        main.commands.clear();
        ModalAnswerer answerer;
        Click(View(), PointOf(View(), c.id));
        DispatchPending();
        EXPECT_EQ(main.commands, std::vector<int>{c.id});
        EXPECT_TRUE(c.done());
    }

    main.ShowWindow(SW_RESTORE);
    main.commands.clear();
    DoubleClick(View(), RowPoint(2));
    DispatchPending();
    EXPECT_EQ(main.commands, std::vector<int>{IDC_SONGLIST});
    EXPECT_EQ(main.m_strCurrentFile, main.SongPath(2));
}

TEST_F(MainWindowTest, TwoQuickClicksOnSaveSongWithNoSongGiveOneBox) {
    for (bool doubleClick : {false, true}) {
        SCOPED_TRACE(doubleClick ? "a double click" : "two clicks while the program is busy");
        ModalAnswerer answerer;
        if (doubleClick) {
            DoubleClick(View(), PointOf(View(), IDC_SAVESONG));
        } else {
            Click(View(), PointOf(View(), IDC_SAVESONG));
            Click(View(), PointOf(View(), IDC_SAVESONG));
        }
        DispatchPending();
        ASSERT_EQ(answerer.boxes.size(), 1u);
        EXPECT_EQ(answerer.boxes[0].rfind("Play a song first", 0), 0u) << answerer.boxes[0];
    }
}

} // namespace
