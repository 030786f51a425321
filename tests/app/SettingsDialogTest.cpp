#include "AppFixture.h"

#include "platform/ui/DataExchange.h"
#include "res/dialogs/SettingsDialog.h"
#include "settings/SettingsDlg.h"

namespace {

// Runs Config with a script that plays the user's part in the settings dialog.
class SettingsDialogTest : public AppTest {
protected:
    void Config(std::function<void(CDialog&)> user) {
        m_backend.WhenNextModal(IDD_CONFIG, std::move(user));
        Click(IDC_CONFIG);
    }
    // What the user does inside the dialog; each dispatches what it causes.
    void ClickIn(CDialog& dialog, int id) {
        dialog.Item<CButton>(id).ClickedByUser();
        m_backend.RunPending();
    }
    void Type(CDialog& dialog, int id, const std::string& text) {
        dialog.GetDlgItem(id)->TextEditedByUser(text);
    }
    static bool Checked(CDialog& dialog, int id) { return dialog.Item<CButton>(id).GetCheck() != 0; }
    static bool EnabledIn(CDialog& dialog, int id) { return dialog.GetDlgItem(id)->IsWindowEnabled(); }
};

TEST_F(SettingsDialogTest, OpensWithTheDefaultsAndTheirEnabling) {
    Settings("Autoplay=0");
    Start();
    bool ran = false;
    Config([&](CDialog& dialog) {
        ran = true;
        EXPECT_EQ(dialog.GetWindowText(), "SHF Settings");
        EXPECT_TRUE(Checked(dialog, IDC_CFG_RANDOM));
        EXPECT_FALSE(Checked(dialog, IDC_CFG_SEQUENTIAL));
        EXPECT_TRUE(Checked(dialog, IDC_CFG_REPETITION));
        EXPECT_FALSE(Checked(dialog, IDC_CFG_AUTOPLAY)); // from the profile above
        EXPECT_TRUE(Checked(dialog, IDC_CFG_SUBFOLDERS));
        EXPECT_FALSE(Checked(dialog, IDC_CFG_INTRO));
        EXPECT_EQ(dialog.GetDlgItemText(IDC_CFG_INTROLENGTH), "20");
        EXPECT_FALSE(EnabledIn(dialog, IDC_CFG_INTROLENGTH));
        EXPECT_TRUE(Checked(dialog, IDC_CFG_SCDISABLED));
        EXPECT_FALSE(Checked(dialog, IDC_CFG_SCATSTART) || Checked(dialog, IDC_CFG_SCEACHFILE));
        EXPECT_FALSE(EnabledIn(dialog, IDC_CFG_SCINITFILE));
        EXPECT_FALSE(EnabledIn(dialog, IDC_CFG_BROWSESCFILE));
        EXPECT_FALSE(Checked(dialog, IDC_CFG_RUNHIDDEN) || Checked(dialog, IDC_CFG_USETAGLIST));
        EXPECT_EQ(dialog.GetDlgItemText(IDC_CFG_SAVEFOLDER), Dialog().m_strSaveFolder);
        EXPECT_EQ(dialog.GetDlgItemText(IDC_CFG_DELETEFOLDER), Dialog().m_strDeleteFolder);
    });
    EXPECT_TRUE(ran);
    EXPECT_FALSE(m_backend.LiveDialog(IDD_CONFIG));
}

TEST_F(SettingsDialogTest, EachHandlerEnablesWhatBelongsToItsButton) {
    Start();
    Config([&](CDialog& dialog) {
        ClickIn(dialog, IDC_CFG_INTRO);
        EXPECT_TRUE(EnabledIn(dialog, IDC_CFG_INTROLENGTH));
        EXPECT_FALSE(EnabledIn(dialog, IDC_CFG_SCINITFILE));
        ClickIn(dialog, IDC_CFG_INTRO);
        EXPECT_FALSE(EnabledIn(dialog, IDC_CFG_INTROLENGTH));
        for (int mode : {IDC_CFG_SCATSTART, IDC_CFG_SCEACHFILE}) {
            ClickIn(dialog, IDC_CFG_SCDISABLED);
            EXPECT_FALSE(EnabledIn(dialog, IDC_CFG_SCINITFILE));
            EXPECT_FALSE(EnabledIn(dialog, IDC_CFG_BROWSESCFILE));
            ClickIn(dialog, mode);
            EXPECT_TRUE(EnabledIn(dialog, IDC_CFG_SCINITFILE));
            EXPECT_TRUE(EnabledIn(dialog, IDC_CFG_BROWSESCFILE));
            EXPECT_FALSE(Checked(dialog, IDC_CFG_SCDISABLED));
            EXPECT_FALSE(EnabledIn(dialog, IDC_CFG_INTROLENGTH));
        }
        // The play style group ends before the static "seconds)": its radios never touch the others.
        ClickIn(dialog, IDC_CFG_SEQUENTIAL);
        EXPECT_FALSE(Checked(dialog, IDC_CFG_RANDOM));
        EXPECT_TRUE(Checked(dialog, IDC_CFG_SCEACHFILE));
    });
}

TEST_F(SettingsDialogTest, OkChecksTheIntroLengthAndKeepsTheDialogOpen) {
    struct Case {
        const char* text;
        const char* message; // nullptr: accepted
        int stored;
    };
    const Case cases[] = {
        {"1000", "Please enter an integer between 0 and 999.", 0},
        {"99999999999999999999", "Please enter an integer between 0 and 999.", 0},
        {"abc", "Please enter a positive integer.", 0},
        {"", "Please enter a positive integer.", 0},
        {"-5", "Please enter a positive integer.", 0},
        {"12x", "Please enter a positive integer.", 0},
        {"0", nullptr, 0},
        {" 999 ", nullptr, 999},
    };
    Start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Dialog().m_nIntroLength = 20;
        std::size_t boxes = m_backend.Boxes().size();
        bool openAfterOk = false;
        Config([&](CDialog& dialog) {
            ClickIn(dialog, IDC_CFG_SEQUENTIAL);
            // The field is disabled (intro off) and still checked: it takes part in the exchange.
            Type(dialog, IDC_CFG_INTROLENGTH, c.text);
            ClickIn(dialog, IDOK);
            openAfterOk = dialog.IsModalRunning();
        });
        if (c.message) {
            ASSERT_EQ(m_backend.Boxes().size(), boxes + 1);
            const HeadlessBackend::Box& box = m_backend.Boxes().back();
            EXPECT_EQ(box.text, c.message);
            EXPECT_EQ(box.caption, AfxGetAppName());
            EXPECT_EQ(box.style, MB_OK | MB_ICONEXCLAMATION);
            EXPECT_TRUE(openAfterOk);
            EXPECT_EQ(m_backend.LastFocusedControl().id, IDC_CFG_INTROLENGTH);
            EXPECT_TRUE(m_backend.LastFocusedControl().textSelected);
            // The script's end closed it with the close box: nothing was taken over.
            EXPECT_EQ(Dialog().m_nIntroLength, 20);
            EXPECT_EQ(Dialog().m_nPlayStyle, 0);
        } else {
            EXPECT_EQ(m_backend.Boxes().size(), boxes);
            EXPECT_FALSE(openAfterOk);
            EXPECT_EQ(Dialog().m_nIntroLength, c.stored);
            EXPECT_EQ(Dialog().m_nPlayStyle, 1);
            Dialog().m_nPlayStyle = 0;
        }
    }
}

TEST_F(SettingsDialogTest, OkTakesEveryChangeBackAndCancelNone) {
    Start();
    auto changeEverything = [&](CDialog& dialog) {
        for (int id : {IDC_CFG_AUTOPLAY, IDC_CFG_INTRO, IDC_CFG_SUBFOLDERS, IDC_CFG_SEQUENTIAL,
                       IDC_CFG_REPETITION, IDC_CFG_RUNHIDDEN, IDC_CFG_SCEACHFILE, IDC_CFG_USETAGLIST})
            ClickIn(dialog, id);
        Type(dialog, IDC_CFG_INTROLENGTH, "5");
        m_backend.AnswerNextBrowse("/chosen/save");
        ClickIn(dialog, IDC_CFG_BROWSESAVE);
        m_backend.AnswerNextBrowse("/chosen/trash");
        ClickIn(dialog, IDC_CFG_BROWSEDELETE);
        m_backend.AnswerNextFileBrowse("/chosen/init.mid");
        ClickIn(dialog, IDC_CFG_BROWSESCFILE);
        EXPECT_EQ(dialog.GetDlgItemText(IDC_CFG_SAVEFOLDER), "/chosen/save");
        // The member changes only at OK.
        EXPECT_NE(Dialog().m_strSaveFolder, "/chosen/save");
    };
    std::string saveFolder = Dialog().m_strSaveFolder;

    // Cancel, the close box and Escape all discard every change, browsed ones included.
    for (UINT way : {0u, 1u, 2u}) {
        Config([&](CDialog& dialog) {
            changeEverything(dialog);
            if (way == 0)
                ClickIn(dialog, IDCANCEL);
            else if (way == 1)
                dialog.SendMessage(WM_CLOSE);
            else
                dialog.PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            m_backend.RunPending();
            EXPECT_FALSE(dialog.IsModalRunning());
        });
        EXPECT_TRUE(Dialog().m_bAutoplay);
        EXPECT_EQ(Dialog().m_nPlayStyle, 0);
        EXPECT_EQ(Dialog().m_nIntroLength, 20);
        EXPECT_EQ(Dialog().m_strSaveFolder, saveFolder);
        EXPECT_EQ(Dialog().m_strSCInitFile, "");
        EXPECT_EQ(Dialog().m_nSCInitMode, 0);
    }

    Config([&](CDialog& dialog) {
        changeEverything(dialog);
        ClickIn(dialog, IDOK);
    });
    CMainDlg& main = Dialog();
    EXPECT_EQ(main.m_bAutoplay, 0);
    EXPECT_EQ(main.m_bIntro, 1);
    EXPECT_EQ(main.m_nIntroLength, 5);
    EXPECT_EQ(main.m_bSubfolders, 0);
    EXPECT_EQ(main.m_nPlayStyle, 1);
    EXPECT_EQ(main.m_bAllowRepetition, 0);
    EXPECT_EQ(main.m_bRunHidden, 1);
    EXPECT_EQ(main.m_nSCInitMode, 2);
    EXPECT_EQ(main.m_bUseTaglist, 1);
    EXPECT_EQ(main.m_strSaveFolder, "/chosen/save");
    EXPECT_EQ(main.m_strDeleteFolder, "/chosen/trash");
    EXPECT_EQ(main.m_strSCInitFile, "/chosen/init.mid");

    ASSERT_EQ(m_backend.BrowseTitles().size(), 8u);
    EXPECT_EQ(m_backend.BrowseTitles()[0], "Please, select your favourite MIDI folder");
    EXPECT_EQ(m_backend.BrowseTitles()[1], "Please, select your deleted MIDI folder (trashcan)");
    const HeadlessBackend::FileBrowse& chooser = m_backend.FileBrowses().back();
    EXPECT_EQ(chooser.title, "Select soundcard initialization file");
    ASSERT_EQ(chooser.filters.size(), 2u);
    EXPECT_EQ(chooser.filters[0].label, "All Files (*.*)");
    EXPECT_EQ(chooser.filters[0].patterns, std::vector<std::string>{"*"});
    EXPECT_EQ(chooser.filters[1].label, "MIDI Files (*.mid;*.rmi;*.kar)");
    EXPECT_EQ(chooser.filters[1].patterns, (std::vector<std::string>{"*.mid", "*.rmi", "*.kar"}));
}

TEST_F(SettingsDialogTest, CancelledBrowsersLeaveTheFields) {
    Start();
    Config([&](CDialog& dialog) {
        std::string before = dialog.GetDlgItemText(IDC_CFG_SAVEFOLDER);
        ClickIn(dialog, IDC_CFG_BROWSESAVE);
        ClickIn(dialog, IDC_CFG_SCATSTART);
        ClickIn(dialog, IDC_CFG_BROWSESCFILE);
        EXPECT_EQ(dialog.GetDlgItemText(IDC_CFG_SAVEFOLDER), before);
        EXPECT_EQ(dialog.GetDlgItemText(IDC_CFG_SCINITFILE), "");
    });
}

TEST_F(SettingsDialogTest, HandEditedValuesShowByTheRulesAndCrashNothing) {
    Settings("PlayStile=7\nIntroLength=-5\nIntro=5\nAutoplay=-1\nSubfolders=2\nSCInitMode=9");
    Start();
    Config([&](CDialog& dialog) {
        EXPECT_FALSE(Checked(dialog, IDC_CFG_RANDOM) || Checked(dialog, IDC_CFG_SEQUENTIAL));
        EXPECT_EQ(dialog.GetDlgItemText(IDC_CFG_INTROLENGTH), "4294967291");
        EXPECT_FALSE(Checked(dialog, IDC_CFG_INTRO));        // 5 is outside 0 to 2
        EXPECT_TRUE(EnabledIn(dialog, IDC_CFG_INTROLENGTH)); // but the flag is set
        EXPECT_FALSE(Checked(dialog, IDC_CFG_AUTOPLAY));
        EXPECT_TRUE(Checked(dialog, IDC_CFG_SUBFOLDERS)); // 2 shows checked
        EXPECT_FALSE(Checked(dialog, IDC_CFG_SCDISABLED) || Checked(dialog, IDC_CFG_SCATSTART) ||
                     Checked(dialog, IDC_CFG_SCEACHFILE));
        EXPECT_TRUE(EnabledIn(dialog, IDC_CFG_SCINITFILE));
        ClickIn(dialog, IDOK);
        EXPECT_EQ(m_backend.Boxes().back().text, "Please enter an integer between 0 and 999.");
        Type(dialog, IDC_CFG_INTROLENGTH, "30");
        ClickIn(dialog, IDOK);
    });
    EXPECT_EQ(Dialog().m_nIntroLength, 30);
    EXPECT_EQ(Dialog().m_nPlayStyle, -1); // no radio checked
    EXPECT_EQ(Dialog().m_nSCInitMode, -1);
    EXPECT_EQ(Dialog().m_bIntro, 0);
    EXPECT_EQ(Dialog().m_bSubfolders, 1);
}

TEST_F(SettingsDialogTest, ThePlayerGoesOnWhileTheDialogIsOpen) {
    AddSong("a.mid", 3000);
    AddSong("b.mid", 3000);
    AddSong("c.mid", 3000);
    Settings("PlayStile=1"); // sequential, autoplay on
    CMainDlg& main = Start();
    m_backend.Advance(500);
    ASSERT_TRUE(DeviceOpen());
    ASSERT_EQ(main.m_nCurrent, 0);
    Config([&](CDialog& dialog) {
        ClickIn(dialog, IDC_CFG_RANDOM);
        // The song ends and the next tick starts the next one in list order: the old settings hold.
        m_backend.Advance(3400);
        EXPECT_TRUE(dialog.IsModalRunning());
        EXPECT_EQ(main.m_nCurrent, 1);
        EXPECT_TRUE(DeviceOpen());
        EXPECT_EQ(Text(IDC_SONGNAME), "b.mid");
        ClickIn(dialog, IDOK);
    });
    EXPECT_EQ(main.m_nPlayStyle, 0);
}

} // namespace
