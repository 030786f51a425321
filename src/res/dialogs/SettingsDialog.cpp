#include "res/dialogs/SettingsDialog.h"

#include "res/Resource.h"

#include <array>

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kCheck = kChild | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kRadio = kChild | BS_AUTORADIOBUTTON;
constexpr DWORD kEdit = kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kButton = kChild | WS_TABSTOP | BS_PUSHBUTTON;
// Every static text starts a group: it is what ends the radio group before it.
constexpr DWORD kLabel = kChild | WS_GROUP | SS_LEFT;

// "Play only intro  (first" has two blanks before its parenthesis. Three texts are wider than the
// table's rectangles give them in our dialog font once the check mark or radio dot and the focus
// frame are counted: the intro check box (with its seconds field and label moved right to make
// room), "In program start" and "Before each file".
const std::array kControls{
    ControlTemplate{IDC_STATIC, ControlKind::GroupBox, "Play style", 42, 7, 162, 24, kChild | BS_GROUPBOX},
    ControlTemplate{IDC_CFG_RANDOM, ControlKind::RadioButton, "Random", 66, 17, 43, 10,
                    kRadio | WS_GROUP | WS_TABSTOP},
    ControlTemplate{IDC_CFG_SEQUENTIAL, ControlKind::RadioButton, "Sequential", 134, 17, 49, 10, kRadio},
    ControlTemplate{IDC_CFG_REPETITION, ControlKind::CheckBox, "Allow song repetition", 7, 36, 83, 10,
                    kCheck},
    ControlTemplate{IDC_CFG_AUTOPLAY, ControlKind::CheckBox, "Autoplay after end of search", 7, 49, 108, 10,
                    kCheck},
    ControlTemplate{IDC_CFG_SUBFOLDERS, ControlKind::CheckBox, "Search folders recursively", 7, 62, 117, 10,
                    kCheck},
    ControlTemplate{IDC_CFG_INTRO, ControlKind::CheckBox, "Play only intro  (first", 7, 75, 78, 10, kCheck, 0,
                    "Play only the intro of each song"},
    ControlTemplate{IDC_CFG_INTROLENGTH, ControlKind::Edit, "", 85, 74, 28, 14, kEdit, 0,
                    "Intro length in seconds"},
    ControlTemplate{IDC_STATIC, ControlKind::Static, "seconds)", 116, 75, 30, 8, kLabel},
    ControlTemplate{IDC_STATIC, ControlKind::Static, "Save MIDI folder:", 7, 88, 64, 8, kLabel},
    ControlTemplate{IDC_CFG_SAVEFOLDER, ControlKind::Edit, "", 7, 97, 180, 14, kEdit, 0, "Save MIDI folder"},
    ControlTemplate{IDC_CFG_BROWSESAVE, ControlKind::PushButton, "...", 191, 97, 13, 14, kButton, 0,
                    "Choose the save MIDI folder"},
    ControlTemplate{IDOK, ControlKind::PushButton, "OK", 212, 7, 50, 14,
                    kChild | WS_TABSTOP | BS_DEFPUSHBUTTON},
    ControlTemplate{IDCANCEL, ControlKind::PushButton, "Cancel", 212, 24, 50, 14, kButton},
    ControlTemplate{IDC_STATIC, ControlKind::Static, "Deleted MIDI folder:", 7, 114, 64, 8, kLabel},
    ControlTemplate{IDC_CFG_DELETEFOLDER, ControlKind::Edit, "", 7, 123, 180, 14, kEdit, 0,
                    "Deleted MIDI folder"},
    ControlTemplate{IDC_CFG_BROWSEDELETE, ControlKind::PushButton, "...", 191, 123, 13, 14, kButton, 0,
                    "Choose the deleted MIDI folder"},
    ControlTemplate{IDC_STATIC, ControlKind::GroupBox, "Soundcard initialization", 7, 143, 197, 52,
                    kChild | BS_GROUPBOX},
    ControlTemplate{IDC_CFG_SCDISABLED, ControlKind::RadioButton, "Disabled", 16, 154, 43, 10,
                    kRadio | WS_GROUP},
    ControlTemplate{IDC_CFG_SCATSTART, ControlKind::RadioButton, "In program start", 64, 154, 67, 10, kRadio},
    ControlTemplate{IDC_CFG_SCEACHFILE, ControlKind::RadioButton, "Before each file", 135, 154, 65, 10,
                    kRadio},
    ControlTemplate{IDC_CFG_SCINITFILE, ControlKind::Edit, "", 14, 175, 167, 14, kEdit, 0,
                    "Initialization file"},
    ControlTemplate{IDC_CFG_BROWSESCFILE, ControlKind::PushButton, "...", 186, 175, 13, 14, kButton, 0,
                    "Choose the initialization file"},
    // 52 units wide instead of 50: the text needs one pixel more in our dialog font, and nothing
    // lies to its right.
    ControlTemplate{IDC_STATIC, ControlKind::Static, "Initialization file:", 15, 165, 52, 8, kLabel},
    ControlTemplate{IDC_CFG_RUNHIDDEN, ControlKind::CheckBox, "Start hidden", 130, 36, 62, 10, kCheck},
    ControlTemplate{IDC_CFG_USETAGLIST, ControlKind::CheckBox, "Use MIDI tag list", 130, 49, 68, 10, kCheck},
    ControlTemplate{IDC_STATIC, ControlKind::StaticIcon, "", 8, 12, 18, 20, kChild | SS_ICON, IDI_HEADPHONES,
                    "Shufflon"},
};

} // namespace

const DialogTemplate kSettingsDialogTemplate{
    IDD_CONFIG,
    "SHF Settings",
    "MS Sans Serif",
    8,
    269,
    202,
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
    0,
    kControls,
};
