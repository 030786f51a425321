#include "platform/ui/Shell.h"

#include "platform/ui/Backend.h"

BOOL Shell_NotifyIcon(DWORD message, const NOTIFYICONDATA& data) {
    Backend* backend = CurrentBackend();
    if (!backend)
        return FALSE;
    std::string tip = TruncateUtf8(data.szTip, NOTIFYICONDATA::kTipLength);
    switch (message) {
    case NIM_ADD:
        return backend->TrayAdd(data.hWnd, data.uID, data.uCallbackMessage, data.hIcon, tip);
    case NIM_MODIFY:
        return backend->TrayModify(data.hWnd, data.uID, data.uFlags, data.uCallbackMessage, data.hIcon, tip);
    case NIM_DELETE:
        return backend->TrayDelete(data.hWnd, data.uID);
    default:
        return FALSE;
    }
}

std::string TruncateUtf8(const std::string& text, std::size_t limit) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        // A character starts at every byte that is not a UTF-8 continuation byte.
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (characters == limit)
                return text.substr(0, i);
            ++characters;
        }
    }
    return text;
}

std::optional<std::string> BrowseForFolder(HWND owner, const std::string& title) {
    Backend* backend = CurrentBackend();
    return backend ? backend->BrowseForFolder(owner, title) : std::nullopt;
}

std::optional<std::string> BrowseForFile(HWND owner, const std::string& title,
                                         const std::vector<FileFilter>& filters, const std::string& folder) {
    Backend* backend = CurrentBackend();
    return backend ? backend->BrowseForFile(owner, title, filters, folder) : std::nullopt;
}

void MessageBeep(UINT type) {
    if (Backend* backend = CurrentBackend())
        backend->MessageBeep(type);
}

DWORD GetTickCount() {
    Backend* backend = CurrentBackend();
    return backend ? backend->TickCount() : 0;
}
