#pragma once

#include "platform/WinTypes.h"

#include <span>

// Dialog templates as tables: the same information a Windows resource file holds, with the
// Windows style values, laid out in dialog units.

// Window styles.
inline constexpr DWORD WS_POPUP = 0x80000000;
inline constexpr DWORD WS_CHILD = 0x40000000;
inline constexpr DWORD WS_VISIBLE = 0x10000000;
inline constexpr DWORD WS_DISABLED = 0x08000000;
inline constexpr DWORD WS_CAPTION = 0x00C00000;
inline constexpr DWORD WS_BORDER = 0x00800000;
inline constexpr DWORD WS_SYSMENU = 0x00080000;
// A sizing border: the user may make the window larger than its template, never smaller.
inline constexpr DWORD WS_THICKFRAME = 0x00040000;
inline constexpr DWORD WS_GROUP = 0x00020000;
inline constexpr DWORD WS_TABSTOP = 0x00010000;
inline constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
inline constexpr DWORD WS_EX_APPWINDOW = 0x00040000;
inline constexpr DWORD DS_MODALFRAME = 0x80;
inline constexpr DWORD DS_3DLOOK = 0x4;
inline constexpr DWORD DS_CENTER = 0x800;

// Control styles.
inline constexpr DWORD BS_PUSHBUTTON = 0x0;
inline constexpr DWORD BS_DEFPUSHBUTTON = 0x1;
inline constexpr DWORD BS_AUTOCHECKBOX = 0x3;
inline constexpr DWORD BS_GROUPBOX = 0x7;
inline constexpr DWORD BS_AUTORADIOBUTTON = 0x9;
// The dialog draws the button itself (CButton::DrawItem); the button draws nothing of its own.
inline constexpr DWORD BS_OWNERDRAW = 0xB;
inline constexpr DWORD SS_LEFT = 0x0;
inline constexpr DWORD SS_CENTER = 0x1;
inline constexpr DWORD SS_RIGHT = 0x2;
inline constexpr DWORD SS_ICON = 0x3;
// A filled black rectangle, used as a separator line.
inline constexpr DWORD SS_BLACKRECT = 0x4;
// Shows '&' as it is instead of as a mnemonic marker: for texts that come from file names.
inline constexpr DWORD SS_NOPREFIX = 0x80;
// A text too wide for the control shows its start and an ellipsis, instead of being clipped.
inline constexpr DWORD SS_ENDELLIPSIS = 0x4000;
inline constexpr DWORD ES_LOWERCASE = 0x10;
inline constexpr DWORD ES_AUTOHSCROLL = 0x80;
inline constexpr DWORD ES_READONLY = 0x800;
inline constexpr DWORD ES_NUMBER = 0x2000;
inline constexpr DWORD LVS_REPORT = 0x1;
inline constexpr DWORD LVS_SINGLESEL = 0x4;
inline constexpr DWORD LVS_SORTASCENDING = 0x10;
inline constexpr DWORD LVS_AUTOARRANGE = 0x100;
inline constexpr DWORD TBS_AUTOTICKS = 0x1;

enum class ControlKind {
    PushButton,
    CheckBox,
    RadioButton,
    GroupBox,
    Static,
    StaticIcon,
    Edit,
    ListView,
    Trackbar
};

// The id of a static that the code never addresses.
inline constexpr int IDC_STATIC = -1;

// How a control of a dialog with a sizing border follows the window when the user makes it larger
// than its template: it moves along with the right or bottom edge, or its width or height grows
// with the window's. Controls without any stay where the template puts them.
inline constexpr unsigned FOLLOW_RIGHT = 0x1;
inline constexpr unsigned FOLLOW_BOTTOM = 0x2;
inline constexpr unsigned GROW_WIDTH = 0x4;
inline constexpr unsigned GROW_HEIGHT = 0x8;

struct ControlTemplate {
    int id;
    ControlKind kind;
    const char* text; // for a static icon: unused
    short x, y, cx, cy;
    DWORD style;
    int iconId = 0; // static icons
    // What a screen reader says for a control whose own text does not say it (a field, a list, a
    // "..." button); for a static that shows a value, the name of that value ("Status").
    const char* accessibleName = nullptr;
    unsigned follow = 0; // FOLLOW_* and GROW_* flags
};

struct DialogTemplate {
    int id;
    const char* caption;
    const char* fontName;
    int fontPointSize;
    short cx, cy;
    DWORD style;
    DWORD exStyle;
    std::span<const ControlTemplate> controls;
};
