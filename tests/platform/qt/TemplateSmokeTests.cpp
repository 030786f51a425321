// The program's own templates built by the Qt backend without a display: every control where its
// dialog units put it, every text it shows fitting its rectangle, and a picture of each window
// in the build folder to look at.

#include "QtTestSupport.h"

#include "app/MainDlg.h"

#include "platform/qt/ControlView.h"
#include "platform/qt/DialogView.h"
#include "platform/ui/ListCtrl.h"
#include "platform/ui/SliderCtrl.h"
#include "res/Resource.h"
#include "res/dialogs/MainDialog.h"
#include "res/dialogs/SearchProgressDialog.h"
#include "res/dialogs/SettingsDialog.h"
#include "res/dialogs/TagWaitDialog.h"
#include "songlist/AboutDlg.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTreeView>

#include <map>
#include <set>

namespace {

QString PicturePath(const char* name) {
    return QDir(QStringLiteral(SHUFFLON_TEST_OUTPUT_DIR)).filePath(QString::fromLatin1(name));
}

class TemplateSmokeTest : public QtBackendTest {
protected:
    // Shows `text` in control `id` and checks it fits the control's rectangle.
    void ExpectFits(CDialog& dialog, int id, const std::string& text) {
        dialog.SetDlgItemText(id, text);
        QWidget* widget = WidgetOf(dialog, id);
        ASSERT_TRUE(widget);
        if (auto* label = dynamic_cast<QLabel*>(widget)) {
            int needed = label->fontMetrics().horizontalAdvance(label->text());
            EXPECT_LE(needed, label->width()) << "\"" << text << "\" is clipped in control " << id;
        } else if (auto* button = dynamic_cast<QAbstractButton*>(widget)) {
            QString shown = button->text().remove(QLatin1Char('&'));
            int needed = button->fontMetrics().horizontalAdvance(shown) + 4;
            // A check box or radio button draws its text after its indicator and a gap, and its
            // focus frame around the text: all of it must be inside, or the text runs under the
            // control beside it.
            if (qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button)) {
                QStyleOptionButton option;
                option.initFrom(button);
                option.text = button->text();
                option.rect.setWidth(4 * button->width()); // unclipped
                needed =
                    button->style()
                        ->subElementRect(qobject_cast<QCheckBox*>(button) ? QStyle::SE_CheckBoxFocusRect
                                                                          : QStyle::SE_RadioButtonFocusRect,
                                         &option, button)
                        .right() +
                    1;
            }
            EXPECT_LE(needed, button->width()) << "\"" << text << "\" is clipped in button " << id;
        }
    }

    // The template's own texts all fit.
    void ExpectTemplateTextsFit(CDialog& dialog) {
        for (const auto& control : dialog.Controls()) {
            QWidget* widget =
                ViewOf(dialog).ViewOf(*control) ? &ViewOf(dialog).ViewOf(*control)->Widget() : nullptr;
            ASSERT_TRUE(widget) << "control " << control->GetDlgCtrlID() << " has no widget";
            auto* label = dynamic_cast<QLabel*>(widget);
            if (label && !label->text().isEmpty() && !label->wordWrap()) {
                EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
                    << "template text \"" << label->text().toStdString() << "\" is clipped";
            }
        }
    }

    // No two controls overlap, except what a group box frames and the pair named as touching.
    void ExpectNoOverlaps(CDialog& dialog, std::pair<int, int> touching = {0, 0}) {
        std::vector<std::pair<int, QRect>> placed;
        for (const auto& control : dialog.Controls()) {
            if (control->Kind() == ControlKind::GroupBox)
                continue;
            QWidget& widget = ViewOf(dialog).ViewOf(*control)->Widget();
            for (const auto& [otherId, otherRect] : placed) {
                if (std::pair(otherId, control->GetDlgCtrlID()) != touching) {
                    EXPECT_FALSE(widget.geometry().intersects(otherRect))
                        << "control " << control->GetDlgCtrlID() << " overlaps " << otherId;
                }
            }
            placed.emplace_back(control->GetDlgCtrlID(), widget.geometry());
        }
    }
};

TEST_F(TemplateSmokeTest, MainWindowTemplateBuildsAsItsTableSays) {
    CDialog dialog(kMainDialogTemplate);
    dialog.Create();
    DialogView& view = ViewOf(dialog);
    const DialogMetrics& m = view.Metrics();
    EXPECT_EQ(view.size(), QSize(m.X(300), m.Y(164)));
    EXPECT_EQ(view.windowTitle(), QStringLiteral("Shufflon"));

    // A few rectangles of the table, in pixels.
    EXPECT_EQ(WidgetOf(dialog, IDC_PLAY)->geometry(), m.Rect(243, 7, 50, 14));
    EXPECT_EQ(WidgetOf(dialog, IDC_SONGLIST)->geometry(), m.Rect(7, 97, 286, 60));
    EXPECT_EQ(WidgetOf(dialog, IDC_SLIDER)->geometry(), m.Rect(4, 56, 182, 12));
    EXPECT_EQ(WidgetOf(dialog, IDC_FOLDER)->geometry(), m.Rect(33, 79, 148, 14));
    EXPECT_TRUE(WidgetOf(dialog, IDC_PLAYEDCOUNT)->geometry().intersects(m.Rect(66, 46, 115, 8)));
    EXPECT_TRUE(dynamic_cast<QLabel*>(WidgetOf(dialog, IDC_LENGTH))->alignment() & Qt::AlignRight);
    EXPECT_TRUE(dynamic_cast<QLabel*>(WidgetOf(dialog, IDC_SONGNAME))->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(dynamic_cast<QLineEdit*>(WidgetOf(dialog, IDC_FOLDER))->isReadOnly());

    ExpectNoOverlaps(dialog);
    ExpectTemplateTextsFit(dialog);

    // The widest texts the program puts in each field.
    for (const char* status :
         {"Not Ready", "Stopped", "Playing", "Recording", "Seeking", "Paused", "Opened", "Ready"})
        ExpectFits(dialog, IDC_STATUS, status);
    ExpectFits(dialog, IDC_SONGCOUNT, "99999");
    ExpectFits(dialog, IDC_SONGSIZE, "999999 kB");
    ExpectFits(dialog, IDC_ELAPSED, "59:59");
    ExpectFits(dialog, IDC_LENGTH, "59:59");
    ExpectFits(dialog, IDC_PLAYEDCOUNT, "Played - unplayed: 65535 - 65535");
    ExpectFits(dialog, IDC_SONGFOLDER, "/home/user/MIDI/Classics/Baroque/.../Bach");
    ExpectFits(dialog, IDC_SONGNAME, "Twinkle Twinkle Little Star.mid");
    for (int id : {IDC_PLAY, IDC_PAUSE, IDC_NEXT, IDC_SAVESONG, IDC_BROWSE, IDC_CONFIG, IDC_DELETESONG,
                   IDC_HIDE, IDC_ABOUT})
        ExpectFits(dialog, id, dialog.GetDlgItemText(id));
    ExpectFits(dialog, IDC_PLAY, "Stop");
    ExpectFits(dialog, IDC_PAUSE, "Resume");

    // The state of a run, for the picture.
    dialog.SetIcon(IDI_HEADPHONES);
    auto& list = dialog.Item<CListCtrl>(IDC_SONGLIST);
    list.SetImageList({IDI_UNPLAYED, IDI_PLAYED}, LVSIL_NORMAL);
    list.SetImageList({IDI_UNPLAYED, IDI_PLAYED}, LVSIL_SMALL);
    list.InsertColumn(0, "Filename", LVCFMT_LEFT, 110);
    list.InsertColumn(1, "Folder", LVCFMT_LEFT, 230);
    list.InsertColumn(2, "Size", LVCFMT_LEFT, 66);
    const char* songs[] = {"Ode to Joy.mid", "Greensleeves.rmi", "Amazing Grace.kar", "Minuet in G.mid",
                           "Frere Jacques (round).mid"};
    for (const char* song : songs) {
        int row = list.InsertItem(0, song);
        list.SetItemText(row, 1, "/home/user/demo/");
        list.SetItemText(row, 2, "2849 B");
    }
    int playing = list.FindItem("Greensleeves.rmi");
    list.SetItemImage(playing, 1);
    list.SetItemData(playing, 1);
    list.SetItemState(playing, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    auto& slider = dialog.Item<CSliderCtrl>(IDC_SLIDER);
    slider.SetRange(0, 95, true);
    slider.SetTicFreq(10);
    slider.SetPageSize(10);
    slider.SetPos(31);
    dialog.SetDlgItemText(IDC_STATUS, "Playing");
    dialog.SetDlgItemText(IDC_SONGFOLDER, "/home/user/demo");
    dialog.SetDlgItemText(IDC_SONGNAME, "Greensleeves.rmi");
    dialog.SetDlgItemText(IDC_SONGCOUNT, "5");
    dialog.SetDlgItemText(IDC_SONGSIZE, "14 kB");
    dialog.SetDlgItemText(IDC_ELAPSED, "00:31");
    dialog.SetDlgItemText(IDC_LENGTH, "01:35");
    dialog.SetDlgItemText(IDC_PLAYEDCOUNT, "Played - unplayed: 1 - 4");
    dialog.SetDlgItemText(IDC_PLAY, "Stop");
    dialog.SetDlgItemText(IDC_FOLDER, "/home/user/demo");
    dialog.ShowWindow(SW_SHOW);
    DispatchPending();
    EXPECT_TRUE(view.grab().save(PicturePath("main-dialog.png")));
}

TEST_F(TemplateSmokeTest, TheMainWindowGrowsWithItsListAndKeepsItsButtonsAtTheRight) {
    CDialog dialog(kMainDialogTemplate);
    dialog.Create();
    DialogView& view = ViewOf(dialog);
    auto& list = dialog.Item<CListCtrl>(IDC_SONGLIST);
    list.InsertColumn(0, "Filename", LVCFMT_LEFT, 110);
    list.InsertColumn(1, "Folder", LVCFMT_LEFT, 230);
    list.InsertColumn(2, "Size", LVCFMT_LEFT, 66);
    list.SetInfoTip([&list](int row) { return list.GetItemText(row, 1) + list.GetItemText(row, 0); });
    for (int i = 0; i < 20; ++i) {
        int row = list.InsertItem(i, "When the Saints Go Marching In " + std::to_string(i) + ".mid");
        list.SetItemText(row, 1, "/home/user/Music/Jazz/New Orleans/Dixieland bands/");
        list.SetItemText(row, 2, "2849 B");
    }
    dialog.SetDlgItemText(IDC_FOLDER, "/home/User/Music");
    dialog.ShowWindow(SW_SHOW);
    DispatchPending();
    const QSize small = view.size();
    std::map<int, QRect> before;
    for (int id : {IDC_PLAY, IDC_BROWSE, IDC_SONGLIST, IDC_FOLDER, IDC_SLIDER, IDC_LENGTH, IDC_STATUS})
        before[id] = WidgetOf(dialog, id)->geometry();
    auto& tree = Widget<QTreeView>(dialog, IDC_SONGLIST);
    const int rowsBefore = tree.viewport()->height() / tree.sizeHintForRow(0);

    // The window manager makes the window larger as the user drags its corner.
    view.resize(small + QSize(400, 240));
    DispatchPending();
    auto moved = [&](int id) { return WidgetOf(dialog, id)->geometry(); };
    EXPECT_EQ(moved(IDC_PLAY), before[IDC_PLAY].translated(400, 0));
    EXPECT_EQ(moved(IDC_BROWSE), before[IDC_BROWSE].translated(400, 0));
    EXPECT_EQ(moved(IDC_LENGTH), before[IDC_LENGTH].translated(400, 0));
    EXPECT_EQ(moved(IDC_STATUS), before[IDC_STATUS]);
    EXPECT_EQ(moved(IDC_SONGLIST), before[IDC_SONGLIST].adjusted(0, 0, 400, 240));
    EXPECT_EQ(moved(IDC_FOLDER), before[IDC_FOLDER].adjusted(0, 0, 400, 0));
    EXPECT_EQ(moved(IDC_SLIDER), before[IDC_SLIDER].adjusted(0, 0, 400, 0));
    ExpectNoOverlaps(dialog);
    EXPECT_GE(tree.viewport()->height() / tree.sizeHintForRow(0), rowsBefore + 10);
    // The names and folders get the width; the sizes keep theirs.
    const QFontMetrics metrics = tree.fontMetrics();
    EXPECT_GT(tree.columnWidth(0),
              metrics.horizontalAdvance(QStringLiteral("When the Saints Go Marching In 19.mid")) +
                  tree.iconSize().width());
    EXPECT_GT(tree.columnWidth(1), metrics.horizontalAdvance(
                                       QStringLiteral("/home/user/Music/Jazz/New Orleans/Dixieland bands/")));
    EXPECT_EQ(tree.columnWidth(2), 66);
    // A row's whole path is its tip.
    const int third = list.FindItem("When the Saints Go Marching In 3.mid");
    EXPECT_EQ(tree.model()->index(third, 0).data(Qt::ToolTipRole).toString(),
              QStringLiteral(
                  "/home/user/Music/Jazz/New Orleans/Dixieland bands/When the Saints Go Marching In 3.mid"));
    // The folder shows as the file system spells it.
    EXPECT_EQ(Widget<QLineEdit>(dialog, IDC_FOLDER).text(), QStringLiteral("/home/User/Music"));
    EXPECT_TRUE(view.grab().save(PicturePath("main-dialog-larger.png")));

    // Never smaller than the template, and back to its own layout there.
    view.resize(QSize(100, 100));
    DispatchPending();
    EXPECT_EQ(view.size(), small);
    EXPECT_EQ(moved(IDC_PLAY), before[IDC_PLAY]);
    EXPECT_EQ(tree.columnWidth(1), 230);
    EXPECT_EQ(dialog.ClientWidth(), small.width());
}

TEST_F(TemplateSmokeTest, LongSongNamesAndDeepFoldersFitTheirLabels) {
    CDialog dialog(kMainDialogTemplate);
    dialog.Create();
    auto& name = Widget<QLabel>(dialog, IDC_SONGNAME);
    for (const char* song : {"When the Saints Go Marching In.mid", "Twinkle Twinkle Little Star.mid",
                             "When the Saints Go Marching In (Dixieland band, all verses, encore).mid"}) {
        SCOPED_TRACE(song);
        ExpectFits(dialog, IDC_SONGNAME, song);
        // The start of the name is what shows; an ellipsis says that more follows.
        QString shown = name.text();
        EXPECT_TRUE(shown == QString::fromUtf8(song) ||
                    (shown.endsWith(QChar(0x2026)) && QString::fromUtf8(song).startsWith(shown.chopped(1))));
    }

    // A folder 150 levels deep named in the widest letters: 41 of them are wider than the label.
    std::string deep;
    char level[16];
    for (int i = 0; i < 150; ++i) {
        std::snprintf(level, sizeof level, "/WMWMW%03d", i);
        deep += level;
    }
    CControl& folder = *dialog.GetDlgItem(IDC_SONGFOLDER);
    EXPECT_FALSE(folder.TextFits(ShortenPath(deep, 41)));
    std::string shown = FitPath(deep, 41, [&](const std::string& text) { return folder.TextFits(text); });
    EXPECT_EQ(shown.substr(shown.size() - 9), "/WMWMW149");
    EXPECT_EQ(shown.substr(0, 10), "/WMWMW000/");
    ExpectFits(dialog, IDC_SONGFOLDER, shown);
    EXPECT_EQ(Widget<QLabel>(dialog, IDC_SONGFOLDER).text(), QString::fromStdString(shown));
}

TEST_F(TemplateSmokeTest, SearchProgressTemplateBuildsAndItsTextsFit) {
    CSearchProgressDlg dialog;
    dialog.Create();
    EXPECT_FALSE(ViewOf(dialog).isVisible());
    ExpectNoOverlaps(dialog);
    ExpectTemplateTextsFit(dialog);
    ExpectFits(dialog, IDC_SEARCH_DIRECTORIES, "99999");
    ExpectFits(dialog, IDC_SEARCH_FILES, "99999");
    ExpectFits(dialog, IDC_SEARCH_SIZE, "9999999 kB");
    dialog.SetDlgItemText(IDC_SEARCH_FOLDER, "/home/user/MIDI/Classics");

    // Closing the window is the cancel command the search watches for.
    dialog.ShowWindow(SW_SHOW);
    ViewOf(dialog).close();
    DispatchPending();
    EXPECT_TRUE(dialog.CancelRequested());
    EXPECT_TRUE(ViewOf(dialog).grab().save(PicturePath("search-progress.png")));
}

TEST_F(TemplateSmokeTest, AboutBoxBuildsWithItsBigIconAndItsTextsFit) {
    CAboutDlg dialog;
    dialog.Create();
    dialog.ShowWindow(SW_SHOW);
    DispatchPending();
    DialogView& view = ViewOf(dialog);
    const DialogMetrics& m = view.Metrics();
    EXPECT_EQ(view.size(), QSize(m.X(261), m.Y(114)));
    EXPECT_EQ(view.windowTitle(), QStringLiteral("About Shufflon"));
    EXPECT_EQ(WidgetOf(dialog, IDOK)->geometry(), m.Rect(215, 6, 40, 14));
    ExpectNoOverlaps(dialog);
    ExpectTemplateTextsFit(dialog);
    ExpectFits(dialog, IDC_PHYSMEM, "1073741824 KB");
    ExpectFits(dialog, IDC_DISKSPACE, "9999999999 KB Free on /home");
    ExpectFits(dialog, IDC_DISKSPACE, "Unavailable");

    // The icon at twice its size in a black frame, its shadow four pixels wide.
    QWidget* button = WidgetOf(dialog, IDC_ABOUTICON);
    ASSERT_TRUE(button);
    EXPECT_EQ(button->geometry().topLeft(), m.Rect(6, 6, 40, 40).topLeft());
    EXPECT_EQ(button->size(), QSize(72, 72));
    QImage picture = button->grab().toImage();
    EXPECT_EQ(picture.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(picture.pixel(67, 30), qRgb(0, 0, 0));
    EXPECT_EQ(picture.pixel(70, 40), qRgb(0x40, 0x40, 0x40));
    EXPECT_EQ(picture.pixel(40, 70), qRgb(0x40, 0x40, 0x40));
    EXPECT_EQ(picture.pixel(70, 1), view.palette().color(QPalette::Window).rgb())
        << "the shadow starts lower";
    EXPECT_TRUE(view.grab().save(PicturePath("about-box.png")));

    // A dog drawn over the controls shows at once; putting the saved strip back over it gives the
    // box's own picture, and ending the drawing leaves nothing behind.
    Backend& backend = *CurrentBackend();
    const int width = backend.ClientWidth(dialog);
    EXPECT_EQ(width, view.width());
    QImage before = view.grab().toImage();
    CMemoryDC strip = backend.CopyFromDialog(dialog, 0, 15, width, 32);
    backend.DrawIconOnDialog(dialog, 100, 15, IDI_DOG_FIRST);
    QImage during = view.grab().toImage();
    EXPECT_EQ(during.pixel(100 + 16, 15 + 12), QColor(0x8B, 0x5A, 0x2B).rgb()) << "the dog's brown coat";
    EXPECT_TRUE(during.save(PicturePath("about-box-dog.png")));
    backend.BltToDialog(dialog, 0, 15, width, 32, strip, 0, 0);
    EXPECT_EQ(view.grab().toImage(), before);
    const auto childrenWhileDrawing = view.children().size();
    backend.EndDialogDrawing(dialog);
    EXPECT_EQ(view.children().size(), childrenWhileDrawing - 1) << "the drawing layer is gone";
    EXPECT_EQ(view.grab().toImage(), before);
}

TEST_F(TemplateSmokeTest, SettingsTemplateBuildsAndItsTextsFit) {
    CDialog dialog(kSettingsDialogTemplate);
    dialog.Create();
    DialogView& view = ViewOf(dialog);
    const DialogMetrics& m = view.Metrics();
    EXPECT_EQ(view.size(), QSize(m.X(269), m.Y(202)));
    EXPECT_EQ(view.windowTitle(), QStringLiteral("SHF Settings"));
    EXPECT_EQ(WidgetOf(dialog, IDC_CFG_INTROLENGTH)->geometry(), m.Rect(85, 74, 28, 14));
    EXPECT_EQ(WidgetOf(dialog, IDOK)->geometry(), m.Rect(212, 7, 50, 14));
    EXPECT_EQ(Widget<QAbstractButton>(dialog, IDC_CFG_INTRO).text(),
              QStringLiteral("Play only intro  (first"));
    // The intro check box and its seconds field touch by design (the text reads on into the
    // field), so rounding may make them share a pixel column; nothing else overlaps.
    QRect intro = WidgetOf(dialog, IDC_CFG_INTRO)->geometry();
    EXPECT_LE(intro.intersected(WidgetOf(dialog, IDC_CFG_INTROLENGTH)->geometry()).width(), 1);
    ExpectNoOverlaps(dialog, {IDC_CFG_INTRO, IDC_CFG_INTROLENGTH});
    ExpectTemplateTextsFit(dialog);
    for (const auto& control : dialog.Controls()) {
        if (control->Kind() == ControlKind::CheckBox || control->Kind() == ControlKind::RadioButton ||
            control->Kind() == ControlKind::PushButton)
            ExpectFits(dialog, control->GetDlgCtrlID(), control->GetWindowText());
    }
    ExpectFits(dialog, IDC_CFG_INTROLENGTH, "999");
    dialog.Item<CButton>(IDC_CFG_RANDOM).SetCheck(1);
    dialog.Item<CButton>(IDC_CFG_REPETITION).SetCheck(1);
    dialog.Item<CButton>(IDC_CFG_AUTOPLAY).SetCheck(1);
    dialog.Item<CButton>(IDC_CFG_SUBFOLDERS).SetCheck(1);
    dialog.Item<CButton>(IDC_CFG_SCDISABLED).SetCheck(1);
    dialog.SetDlgItemText(IDC_CFG_INTROLENGTH, "20");
    dialog.SetDlgItemText(IDC_CFG_SAVEFOLDER, "/home/user/BESTMIDI");
    dialog.SetDlgItemText(IDC_CFG_DELETEFOLDER, "/home/user/BADMIDI");
    dialog.EnableDlgItem(IDC_CFG_INTROLENGTH, false);
    dialog.EnableDlgItem(IDC_CFG_SCINITFILE, false);
    dialog.EnableDlgItem(IDC_CFG_BROWSESCFILE, false);
    dialog.ShowWindow(SW_SHOW);
    DispatchPending();
    EXPECT_TRUE(view.grab().save(PicturePath("settings-dialog.png")));
}

TEST_F(TemplateSmokeTest, TagWaitTemplateBuildsAndItsTextsFit) {
    CDialog dialog(kTagWaitTemplate);
    dialog.Create();
    DialogView& view = ViewOf(dialog);
    EXPECT_FALSE(view.isVisible());
    EXPECT_EQ(view.windowTitle(), QStringLiteral("Shufflon "));
    EXPECT_TRUE(dynamic_cast<QLabel*>(WidgetOf(dialog, IDC_TAGWAIT_TEXT))->alignment() & Qt::AlignHCenter);
    ExpectTemplateTextsFit(dialog);
    ExpectFits(dialog, IDC_TAGWAIT_TEXT, "Loading and assigning tag list");
    ExpectFits(dialog, IDC_TAGWAIT_TEXT, "Saving and dealocating tag list");
    dialog.ShowWindow(SW_SHOW);
    DispatchPending();
    EXPECT_TRUE(view.grab().save(PicturePath("tag-wait.png")));
}

TEST_F(TemplateSmokeTest, TestDialogPicture) {
    TestDialog dialog;
    dialog.Create();
    auto& list = dialog.Item<CListCtrl>(kListId);
    list.SetImageList({IDI_UNPLAYED, IDI_PLAYED}, LVSIL_SMALL);
    list.InsertColumn(0, "Name", LVCFMT_LEFT, 120);
    list.InsertColumn(1, "Size", LVCFMT_LEFT, 60);
    for (const char* name : {"one.mid", "two.mid", "three.mid"}) {
        int row = list.InsertItem(0, name);
        list.SetItemText(row, 1, "12 B");
    }
    list.SetItemImage(1, 1);
    dialog.Item<CButton>(kCheckId).SetCheck(1);
    dialog.Item<CButton>(kRadioBId).SetCheck(1);
    dialog.Item<CSliderCtrl>(kSliderId).SetPos(40);
    dialog.SetDlgItemText(kFolderEditId, "/Home/User/MIDI");
    dialog.SetDlgItemText(kTypedEditId, "Typed");
    dialog.EnableDlgItem(kDefaultPushId, false);
    dialog.ShowWindow(SW_SHOW);
    DispatchPending();
    ExpectTemplateTextsFit(dialog);
    EXPECT_TRUE(ViewOf(dialog).grab().save(PicturePath("test-dialog.png")));
}

} // namespace
