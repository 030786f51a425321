#include "res/dialogs/LyricsDialog.h"

#include "res/Resource.h"

namespace {

// The control's text is its name for screen readers; the window gives it the words. It fills the
// window, however large the user makes it.
constexpr ControlTemplate kControls[] = {
    {IDC_LYRICS, ControlKind::Lyrics, "Lyrics", 0, 0, 300, 90, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, nullptr,
     GROW_WIDTH | GROW_HEIGHT},
};

} // namespace

// A window of its own in the taskbar, so that it can stand beside or behind the main window, or
// fill a second screen. Not visible at creation: it shows when the user asks for it.
const DialogTemplate kLyricsDialogTemplate = {
    IDD_LYRICS,
    "Shufflon Lyrics",
    "MS Sans Serif",
    8,
    300,
    90,
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
    WS_EX_APPWINDOW,
    kControls,
};
