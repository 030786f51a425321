#include "res/dialogs/AboutDialog.h"

#include "res/Resource.h"

namespace {

constexpr DWORD kText = WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
constexpr DWORD kLine = WS_CHILD | WS_VISIBLE | SS_BLACKRECT;

// The version is the build's, so that the box and the package never disagree.
constexpr ControlTemplate kControls[] = {
    {IDC_ABOUTICON, ControlKind::PushButton, "", 6, 6, 40, 40, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0,
     "Shufflon icon"},
    {IDOK, ControlKind::PushButton, "OK", 215, 6, 40, 14,
     WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON},
    {IDC_STATIC, ControlKind::Static, "Shufflon " SHUFFLON_VERSION_SHORT " for Linux", 60, 6, 151, 8, kText},
    {IDC_STATIC, ControlKind::Static, "A MIDI jukebox for the Linux desktop", 60, 16, 142, 8, kText},
    {IDC_STATIC, ControlKind::Static, "Plays through FluidSynth and a SoundFont", 60, 26, 142, 8, kText},
    {IDC_STATIC, ControlKind::Static, "", 60, 44, 195, 1, kLine},
    {IDC_STATIC, ControlKind::Static, "", 60, 77, 195, 1, kLine},
    {IDC_STATIC, ControlKind::Static, "Physical Memory:", 60, 87, 63, 8, kText},
    {IDC_PHYSMEM, ControlKind::Static, "", 128, 87, 129, 8, kText},
    {IDC_STATIC, ControlKind::Static, "Disk Space:", 60, 99, 57, 8, kText},
    {IDC_DISKSPACE, ControlKind::Static, "", 127, 99, 128, 8, kText},
};

} // namespace

const DialogTemplate kAboutDialogTemplate = {IDD_ABOUTBOX,
                                             "About Shufflon",
                                             "Helv",
                                             8,
                                             261,
                                             114,
                                             WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                                             0,
                                             kControls};

const ControlTemplate& kAboutIconButtonTemplate = kControls[0];
