#pragma once

#include "platform/WinTypes.h"
#include "platform/ui/Backend.h"

#include <optional>
#include <string>

// The shell and user-interface services the application calls by their Windows names.

inline constexpr DWORD NIM_ADD = 0;
inline constexpr DWORD NIM_MODIFY = 1;
inline constexpr DWORD NIM_DELETE = 2;

// Sent to every main window when the desktop's notification area appears (a panel that starts
// after the program, or starts again): its icons are gone or were never added, and whoever wants
// one adds it again. Windows names this message "TaskbarCreated"; ours has a fixed value.
inline constexpr UINT WM_TASKBARCREATED = 0xC0A0;
// Sent to every main window when the notification area goes away with the icons in it.
inline constexpr UINT WM_TASKBARGONE = 0xC0A1;

// A tray icon request. The tip holds at most kTipLength characters, like the Windows record.
struct NOTIFYICONDATA {
    static constexpr std::size_t kTipLength = 63;
    DWORD cbSize = 88;
    HWND hWnd = 0;
    UINT uID = 0;
    UINT uFlags = 0;
    UINT uCallbackMessage = 0;
    int hIcon = 0; // icon resource id
    std::string szTip;
};

BOOL Shell_NotifyIcon(DWORD message, const NOTIFYICONDATA& data);

// Cuts a text to its first `limit` characters, never inside a UTF-8 sequence.
std::string TruncateUtf8(const std::string& text, std::size_t limit);

// The folder chooser: the chosen folder's path, or nothing when the user cancelled.
std::optional<std::string> BrowseForFolder(HWND owner, const std::string& title);

// The file-open chooser: the chosen file's path, or nothing when the user cancelled. The first
// filter is selected at first; it starts in the folder given, or where it would without one.
std::optional<std::string> BrowseForFile(HWND owner, const std::string& title,
                                         const std::vector<FileFilter>& filters,
                                         const std::string& folder = {});

void MessageBeep(UINT type);
DWORD GetTickCount();
