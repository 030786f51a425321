#include "res/dialogs/MainDialog.h"

#include "res/Resource.h"

#include <array>

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kButton = kChild | WS_TABSTOP | BS_PUSHBUTTON;

const std::array kControls{
    ControlTemplate{IDC_PLAY, ControlKind::PushButton, "Play", 243, 7, 50, 14, kButton, 0, nullptr,
                    FOLLOW_RIGHT},
    ControlTemplate{IDC_PAUSE, ControlKind::PushButton, "Pause", 243, 25, 50, 14, kButton, 0, nullptr,
                    FOLLOW_RIGHT},
    ControlTemplate{IDC_NEXT, ControlKind::PushButton, "Next", 243, 43, 50, 14, kButton, 0, nullptr,
                    FOLLOW_RIGHT},
    ControlTemplate{IDC_SAVESONG, ControlKind::PushButton, "Save song", 187, 43, 50, 14, kButton, 0, nullptr,
                    FOLLOW_RIGHT},
    ControlTemplate{IDC_BROWSE, ControlKind::PushButton, "Browse", 187, 79, 50, 14, kButton, 0, nullptr,
                    FOLLOW_RIGHT},
    ControlTemplate{IDC_CONFIG, ControlKind::PushButton, "Config", 243, 79, 50, 14, kButton, 0, nullptr,
                    FOLLOW_RIGHT},
    ControlTemplate{IDC_SONGLIST, ControlKind::ListView, "", 7, 97, 286, 60,
                    kChild | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SORTASCENDING |
                        LVS_AUTOARRANGE,
                    0, "Song list", GROW_WIDTH | GROW_HEIGHT},
    ControlTemplate{IDC_FOLDER, ControlKind::Edit, "", 33, 79, 148, 14,
                    kChild | WS_BORDER | WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL, 0, "Folder", GROW_WIDTH},
    ControlTemplate{IDC_STATIC, ControlKind::Static, "Status:", 33, 7, 23, 8, kChild | SS_LEFT},
    ControlTemplate{IDC_STATUS, ControlKind::Static, "", 59, 7, 41, 8, kChild | SS_LEFT, 0, "Status"},
    ControlTemplate{IDC_STATIC, ControlKind::Static, "Folder:", 33, 16, 26, 8, kChild | SS_LEFT},
    ControlTemplate{IDC_SONGFOLDER, ControlKind::Static, "", 59, 16, 178, 8,
                    kChild | SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, 0, "Song folder", GROW_WIDTH},
    ControlTemplate{IDC_STATIC, ControlKind::Static, "Folder:", 7, 81, 22, 8, kChild | SS_LEFT},
    ControlTemplate{IDC_STATIC, ControlKind::Static, "Songs:", 102, 7, 23, 8, kChild | SS_LEFT},
    ControlTemplate{IDC_SONGCOUNT, ControlKind::Static, "", 130, 7, 23, 8, kChild | SS_LEFT, 0, "Songs"},
    ControlTemplate{IDC_STATIC, ControlKind::Static, "Songs size:", 158, 7, 37, 8, kChild | SS_LEFT},
    ControlTemplate{IDC_SONGSIZE, ControlKind::Static, "", 199, 7, 38, 8, kChild | SS_LEFT, 0, "Songs size"},
    ControlTemplate{IDC_STATIC, ControlKind::StaticIcon, "", 7, 7, 18, 20, kChild | SS_ICON, IDI_HEADPHONES,
                    "Shufflon"},
    ControlTemplate{IDC_STATIC, ControlKind::Static, "Progress:", 7, 46, 33, 8, kChild | SS_LEFT},
    ControlTemplate{IDC_SCALESTART, ControlKind::Static, "0", 8, 69, 30, 8, kChild | SS_LEFT},
    ControlTemplate{IDC_ELAPSED, ControlKind::Static, "", 41, 46, 24, 8, kChild | SS_LEFT, 0, "Elapsed"},
    ControlTemplate{IDC_LENGTH, ControlKind::Static, "", 150, 69, 31, 8, kChild | SS_RIGHT, 0, "Length",
                    FOLLOW_RIGHT},
    ControlTemplate{IDC_SLIDER, ControlKind::Trackbar, "", 4, 56, 182, 12,
                    kChild | WS_TABSTOP | TBS_AUTOTICKS, 0, "Progress in seconds", GROW_WIDTH},
    ControlTemplate{IDC_DELETESONG, ControlKind::PushButton, "Delete song", 187, 61, 50, 14, kButton, 0,
                    nullptr, FOLLOW_RIGHT},
    ControlTemplate{IDC_HIDE, ControlKind::PushButton, "Hide", 243, 61, 50, 14, kButton, 0, nullptr,
                    FOLLOW_RIGHT},
    ControlTemplate{IDC_SONGNAME, ControlKind::Static, "", 12, 34, 163, 8,
                    kChild | SS_CENTER | SS_NOPREFIX | SS_ENDELLIPSIS, 0, "Song name", GROW_WIDTH},
    ControlTemplate{IDC_ABOUT, ControlKind::PushButton, "About...", 187, 25, 50, 14, kButton, 0, nullptr,
                    FOLLOW_RIGHT},
    ControlTemplate{IDC_STATIC, ControlKind::GroupBox, "Song name", 7, 26, 174, 19, kChild | BS_GROUPBOX, 0,
                    nullptr, GROW_WIDTH},
    ControlTemplate{IDC_PLAYEDCOUNT, ControlKind::Static, "Played - unplayed: 65535 - 65535", 66, 46, 115, 8,
                    kChild | SS_RIGHT, 0, nullptr, FOLLOW_RIGHT},
};

} // namespace

const DialogTemplate kMainDialogTemplate{
    IDD_MAIN,
    "Shufflon",
    "MS Sans Serif",
    8,
    300,
    164,
    // The sizing border lets the user give the list more room: the template is the smallest size.
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | DS_MODALFRAME | DS_3DLOOK |
        DS_CENTER,
    WS_EX_APPWINDOW,
    kControls,
};
