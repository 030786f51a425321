#include "search/CDirStruct.h"

#include "platform/ui/ListCtrl.h"
#include "platform/ui/MessageQueue.h"
#include "platform/ui/Shell.h"
#include "platform/ui/Wnd.h"
#include "res/dialogs/SearchProgressDialog.h"
#include "search/FileChecks.h"
#include "search/PumpMessages.h"

#include <memory>
#include <string_view>

namespace {

// The path, a '/' unless it already ends with one, and the name. A backslash is an ordinary
// character of a Linux file name and never counts as a separator.
std::string JoinPath(const std::string& path, std::string_view name) {
    std::string joined;
    joined.reserve(path.size() + 1 + name.size());
    joined = path;
    if (joined.empty() || joined.back() != '/')
        joined += '/';
    joined += name;
    return joined;
}

bool EqualsNoCase(std::string_view text, std::string_view lowerCase) {
    if (text.size() != lowerCase.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
        if (c != lowerCase[i])
            return false;
    }
    return true;
}

// A song is a file whose extension, the text after the last dot of its name, is MID, RMI or KAR
// in any letter case. A name without a dot never matches; ".mid" alone does.
bool IsSongName(std::string_view name) {
    std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return false;
    std::string_view ext = name.substr(dot + 1);
    return EqualsNoCase(ext, "mid") || EqualsNoCase(ext, "rmi") || EqualsNoCase(ext, "kar");
}

int DepthOf(const DirNode* node) {
    int depth = 0;
    for (const DirNode* up = node->m_pParent; up; up = up->m_pParent)
        ++depth;
    return depth;
}

// Whether the entry is the directory of `node` or one of its ancestors: a symbolic link back up
// the tree, which would otherwise be walked forever.
bool IsOnPath(const DirNode* node, const WIN32_FIND_DATA& entry) {
    for (const DirNode* up = node; up; up = up->m_pParent) {
        if (up->m_bHasId && up->m_nDevice == entry.nDevice && up->m_nInode == entry.nInode)
            return true;
    }
    return false;
}

} // namespace

CDirStruct::~CDirStruct() {
    if (m_pRoot)
        FreeNode(m_pRoot);
}

int CDirStruct::Search(const std::string& folder, CListCtrl* list, BOOL recurse) {
    if (!IsValidFolder(folder))
        return -1;
    if (m_pRoot) {
        FreeNode(m_pRoot);
        m_pRoot = nullptr;
    }
    m_nFiles = 0;
    m_nDirs = 0;
    m_dwTotalSize = 0;
    m_bAbort = FALSE;
    m_pList = list;
    m_bRecurse = recurse;
    m_strFolderOf.clear();
    m_strFolderText.clear();

    m_pRoot = new DirNode;
    WIN32_FIND_DATA self;
    if (HFIND lookup = FindFirstFile(folder, &self)) {
        FindClose(lookup);
        m_pRoot->m_bHasId = true;
        m_pRoot->m_nDevice = self.nDevice;
        m_pRoot->m_nInode = self.nInode;
    }

    auto dialog = std::make_unique<CSearchProgressDlg>();
    dialog->Create();
    m_pProgressDlg = dialog.get();
    dialog->CenterWindow();
    dialog->ShowWindow(SW_SHOW);
    PumpMessages(50);

    ScanDirectory(m_pRoot, folder);

    dialog->DestroyWindow();
    m_pProgressDlg = nullptr;
    dialog.reset();
    return m_bAbort ? -1 : 0;
}

void CDirStruct::ProgressStep(const std::string& path) {
    CSearchProgressDlg& dialog = *m_pProgressDlg;
    dialog.SetDlgItemText(IDC_SEARCH_FOLDER, path);
    dialog.SetDlgItemText(IDC_SEARCH_DIRECTORIES, std::to_string(m_nDirs));
    dialog.SetDlgItemText(IDC_SEARCH_FILES, std::to_string(m_nFiles));
    dialog.SetDlgItemText(IDC_SEARCH_SIZE, std::to_string(m_dwTotalSize / 1024) + " kB");

    // One message per directory: enough to keep the progress window alive and to take a close
    // request, while the main dialog's commands, timer ticks and notices cannot run in the middle
    // of a search. Whatever is not taken stays queued for the normal loop afterwards.
    MSG msg;
    if (PeekMessage(msg)) {
        if (msg.hwnd == dialog.GetSafeHwnd() || msg.message == WM_PAINT || msg.message == WM_DRAWITEM) {
            if (msg.message == WM_COMMAND && msg.wParam == IDCANCEL)
                m_bAbort = TRUE;
            else
                DispatchMessage(msg);
        } else {
            if (msg.message == WM_LBUTTONDOWN || msg.message == WM_COMMAND)
                MessageBeep(MB_OK);
            dialog.SetFocus();
        }
    }
    // A close request dispatched while the window was being drawn, before the walk started,
    // reached the dialog's cancel handler instead of this filter; it stops the search all the same.
    if (dialog.CancelRequested())
        m_bAbort = TRUE;
}

void CDirStruct::ScanDirectory(DirNode* node, const std::string& path) {
    node->m_pChild = nullptr;
    node->m_pNext = nullptr;
    node->m_strPath = path;
    // Counted before the abort test: directories met while the walk unwinds still count.
    ++m_nDirs;
    if (m_bAbort)
        return;
    if (m_pProgressDlg)
        ProgressStep(path);
    if (DepthOf(node) >= kMaxDepth)
        return;

    WIN32_FIND_DATA entry;
    HFIND search = FindFirstFile(JoinPath(path, "*.*"), &entry);
    if (!search)
        return; // unreadable or gone: entered and empty
    DirNode* lastChild = nullptr;
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            AddFile(path, entry);
            continue;
        }
        // "." and "..", and every folder whose name begins with a dot, are never entered.
        if (entry.cFileName.starts_with('.') || !m_bRecurse || IsOnPath(node, entry))
            continue;
        auto* child = new DirNode;
        child->m_pParent = node;
        child->m_bHasId = true;
        child->m_nDevice = entry.nDevice;
        child->m_nInode = entry.nInode;
        (lastChild ? lastChild->m_pNext : node->m_pChild) = child;
        lastChild = child;
        // Depth-first: the subfolder is walked before the next entry of this one is read.
        ScanDirectory(child, JoinPath(path, entry.cFileName));
    } while (FindNextFile(search, &entry));
    FindClose(search);
}

void CDirStruct::FreeNode(DirNode* node) {
    // Without recursion: a folder may hold thousands of subfolders, and a tree handed in from
    // elsewhere need not respect the walk's depth limit. Each turn either releases a node without
    // children or rotates its first child up in front of it, so every node is visited a bounded
    // number of times.
    while (node) {
        if (DirNode* child = node->m_pChild) {
            node->m_pChild = child->m_pNext;
            child->m_pNext = node;
            node = child;
        } else {
            DirNode* next = node->m_pNext;
            delete node;
            node = next;
        }
    }
}

const std::string& CDirStruct::FolderText(const std::string& dirPath) {
    if (m_strFolderText.empty() || dirPath != m_strFolderOf) {
        m_strFolderOf = dirPath;
        m_strFolderText = JoinPath(dirPath, {});
    }
    return m_strFolderText;
}

void CDirStruct::AddFile(const std::string& dirPath, const WIN32_FIND_DATA& entry) {
    if (m_bAbort)
        return;
    const std::string& name = entry.cFileName;
    if (!IsSongName(name))
        return;
    // The Folder text is the directory with its '/', in full: Linux paths run far past the 260
    // characters of the old limit. A song whose whole path is longer than the system accepts
    // could never be opened, so it is not listed.
    const std::string& folder = FolderText(dirPath);
    if (folder.size() + name.size() >= kMaxPathBytes)
        return;

    int row = m_pList->InsertItem(0, name);
    m_pList->SetItemText(row, 1, folder);
    m_pList->SetItemText(row, 2, std::to_string(entry.nFileSizeLow) + " B");
    m_pList->SetItemData(row, 0);
    ++m_nFiles;
    m_dwTotalSize += entry.nFileSizeLow;
}
