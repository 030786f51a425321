#include "res/dialogs/SearchProgressDialog.h"

#include "res/Resource.h"

namespace {

// The sample texts show only until the search's first update, 50 ms after the window appears.
constexpr ControlTemplate kControls[] = {
    {IDC_SEARCH_FOLDER, ControlKind::Static, "C:\\Windows\\Desktop Themes\\Plus\\IMS Theme", 7, 7, 212, 8,
     WS_CHILD | WS_VISIBLE | SS_LEFT},
    {IDC_STATIC, ControlKind::Static, "Directories:", 7, 19, 36, 8, WS_CHILD | WS_VISIBLE | SS_LEFT},
    {IDC_SEARCH_DIRECTORIES, ControlKind::Static, "12324", 47, 19, 31, 8, WS_CHILD | WS_VISIBLE | SS_LEFT},
    {IDC_STATIC, ControlKind::Static, "Files:", 83, 19, 17, 8, WS_CHILD | WS_VISIBLE | SS_LEFT},
    {IDC_SEARCH_FILES, ControlKind::Static, "1234", 105, 19, 28, 8, WS_CHILD | WS_VISIBLE | SS_LEFT},
    {IDC_STATIC, ControlKind::Static, "File size:", 139, 19, 28, 8, WS_CHILD | WS_VISIBLE | SS_LEFT},
    {IDC_SEARCH_SIZE, ControlKind::Static, "1246 kB", 172, 19, 47, 8, WS_CHILD | WS_VISIBLE | SS_LEFT},
};

} // namespace

// Not visible at creation: the engine centres the window before it shows it.
const DialogTemplate kSearchProgressTemplate = {IDD_SEARCHPROGRESS,
                                                "Searching directory structure",
                                                "MS Sans Serif",
                                                8,
                                                226,
                                                34,
                                                WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                                                0,
                                                kControls};
