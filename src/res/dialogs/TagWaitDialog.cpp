#include "res/dialogs/TagWaitDialog.h"

#include "res/Resource.h"

namespace {

constexpr ControlTemplate kControls[] = {
    {IDC_TAGWAIT_TEXT, ControlKind::Static, "Please wait", 7, 18, 199, 8, WS_CHILD | WS_VISIBLE | SS_CENTER},
};

} // namespace

// Caption "Shufflon " with its trailing blank. Not visible at creation: the window is centred and
// given its text before it shows.
const DialogTemplate kTagWaitTemplate = {
    IDD_TAGWAIT, "Shufflon ", "MS Sans Serif", 8, 213, 45, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
    0,           kControls};
