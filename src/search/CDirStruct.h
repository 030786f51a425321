#pragma once

#include "platform/WinTypes.h"
#include "platform/sys/FindFile.h"

#include <cstdint>
#include <string>

class CListCtrl;
class CSearchProgressDlg;

// One directory the walk entered; the chosen folder is the root. Subfolders hang from m_pChild
// in the order the walk met them, linked by m_pNext.
struct DirNode {
    std::string m_strPath;
    DirNode* m_pNext = nullptr;
    DirNode* m_pParent = nullptr;
    DirNode* m_pChild = nullptr;
    // The directory's identity, so that the walk can tell when a symbolic link leads back into a
    // directory it is already inside. Unknown only for a root that vanished before the walk.
    bool m_bHasId = false;
    std::uint64_t m_nDevice = 0;
    std::uint64_t m_nInode = 0;
};

// The folder search: walks a folder (and, when asked, every folder below it) depth-first, each
// subfolder entered when it is met, and inserts one row per song (MID, RMI and KAR files) into
// the song list. It shows a progress window that the user can close to stop the search, and
// while it walks it takes the thread's messages itself, so that no command of the main dialog
// runs inside a search. One object serves one search: make it, call Search, read the counters.
class CDirStruct {
public:
    // Directories this far below the chosen folder are counted but not read, so that a tree
    // deeper than anything sensible costs neither the stack nor the patience of the user.
    static constexpr int kMaxDepth = 256;

    CDirStruct() = default;
    CDirStruct(const CDirStruct&) = delete;
    CDirStruct& operator=(const CDirStruct&) = delete;
    virtual ~CDirStruct();

    // 0 when the walk ran to its end (also when it found nothing); -1 when the folder is not a
    // folder that can be searched (then nothing is shown and the counters are untouched) or the
    // user closed the progress window (then the rows found so far stay in the list).
    int Search(const std::string& folder, CListCtrl* list, BOOL recurse);

    // Enters one directory: counts it, updates the progress window, samples the queue once, and
    // goes through its entries.
    virtual void ScanDirectory(DirNode* node, const std::string& path);
    // Releases a node, its subfolders and its following siblings; accepts null.
    virtual void FreeNode(DirNode* node);
    // Considers one file of the directory `dirPath` and adds its row when it is a song.
    virtual void AddFile(const std::string& dirPath, const WIN32_FIND_DATA& entry);

    DirNode* m_pRoot = nullptr;                   // tree of the last search, kept until the next
    CSearchProgressDlg* m_pProgressDlg = nullptr; // only while Search runs
    int m_nFiles = 0;                             // songs found (rows added)
    int m_nDirs = 0;                              // directories entered, the chosen folder included
    DWORD m_dwTotalSize = 0;                      // sum of the songs' sizes, modulo 2^32
    BOOL m_bAbort = FALSE;                        // the user closed the progress window
    CListCtrl* m_pList = nullptr;
    BOOL m_bRecurse = FALSE;

private:
    void ProgressStep(const std::string& path);
    // The folder text of the rows of `dirPath`, made once per directory rather than per song.
    const std::string& FolderText(const std::string& dirPath);

    std::string m_strFolderOf;
    std::string m_strFolderText;
};
