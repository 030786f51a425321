#include "app/PlayerApp.h"

#include "app/MainDlg.h"

BOOL CPlayerApp::InitInstance() {
    CMainDlg dialog;
    dialog.DoModal();
    return FALSE;
}
