#pragma once

#include "platform/ui/Dialog.h"

// Template 142 (IDD_SEARCHPROGRESS): the small window that shows how far a folder search has got.
// The user stops the search by closing it.
inline constexpr int IDC_SEARCH_FOLDER = 1074;      // path of the directory being entered
inline constexpr int IDC_SEARCH_DIRECTORIES = 1075; // directories entered so far
inline constexpr int IDC_SEARCH_FILES = 1076;       // songs found so far
inline constexpr int IDC_SEARCH_SIZE = 1077;        // their total size in kB

extern const DialogTemplate kSearchProgressTemplate;

// The progress window of the directory search, made modeless by the search engine. The search
// takes the window's cancel command from the queue itself while it walks; a cancel that arrives
// through normal dispatching (while the engine pumps messages before the walk) is remembered
// here instead of ending the dialog, so that the search sees it too.
class CSearchProgressDlg : public CDialog {
public:
    CSearchProgressDlg() : CDialog(kSearchProgressTemplate) {}

    bool CancelRequested() const { return m_bCancelRequested; }
    void OnCancel() override { m_bCancelRequested = true; }

private:
    bool m_bCancelRequested = false;
};
