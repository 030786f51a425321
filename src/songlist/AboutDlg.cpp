#include "songlist/AboutDlg.h"

#include "app/MainDlg.h"
#include "platform/sys/Paths.h"
#include "platform/ui/Backend.h"
#include "res/Resource.h"
#include "res/Strings.h"
#include "res/dialogs/AboutDialog.h"
#include "res/icons/Icons.h"

#include <cstdio>

namespace {

using ThisClass = CAboutDlg;

const MessageMapEntry kMessageMap[] = {
    ON_BN_DOUBLECLICKED(IDC_ABOUTICON, OnDoubleClickedIcon),
    ON_WM_LBUTTONDBLCLK(),
};

constexpr const char* kHiddenCaption = "SHF Hidden DOG";

} // namespace

std::string FormatMemoryLine(std::uint64_t totalBytes) {
    char text[64];
    std::snprintf(text, sizeof text, LoadString(IDS_MEMORY).c_str(),
                  static_cast<unsigned long>(totalBytes >> 10));
    return text;
}

std::string FormatDiskLine(const std::optional<DiskSpace>& space) {
    if (!space)
        return LoadString(IDS_UNAVAILABLE);
    char text[512];
    std::snprintf(text, sizeof text, LoadString(IDS_DISKFREE).c_str(),
                  static_cast<unsigned long>(space->freeBytes / 1024), space->mountPoint.c_str());
    return text;
}

CIconButton::CIconButton(CDialog& owner) : CButton(owner, kAboutIconButtonTemplate) {}

void CIconButton::DrawItem(CMemoryDC& dc) {
    const int w = dc.Width();
    const int h = dc.Height();
    if (!res::FindIcon(IDI_HEADPHONES, GetSystemMetrics(SM_CXICON)))
        return;
    const int cx = GetSystemMetrics(SM_CXICON);
    const int cy = GetSystemMetrics(SM_CYICON);
    CMemoryDC memory(cx, cy);
    if (memory.IsEmpty() || w <= 8 || h <= 8)
        return;
    // The icon goes over a reduced copy of what lies under the button, so that its transparent
    // parts show the dialog, not the frame's filling.
    memory.StretchBlt(0, 0, cx, cy, dc, 2, 2, w - 8, h - 8);
    memory.DrawIcon(0, 0, IDI_HEADPHONES);
    dc.Rectangle(0, 0, w - 4, h - 4, BLACK_PEN, WHITE_BRUSH);
    dc.FillRect(w - 4, 4, w, h, DKGRAY_BRUSH);
    dc.FillRect(4, h - 4, w, h, DKGRAY_BRUSH);
    dc.StretchBlt(2, 2, w - 8, h - 8, memory, 0, 0, cx, cy);
}

CAboutDlg::CAboutDlg() : CDialog(kAboutDialogTemplate), m_icon(*this) {}

CAboutDlg::~CAboutDlg() {
    // The view may ask the icon button to draw until it is gone; the button goes before the base.
    DestroyWindow();
}

MessageMap CAboutDlg::GetMessageMap() const {
    return kMessageMap;
}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_icon.SubclassDlgItem(IDC_ABOUTICON, *this);
    if (CControl* button = GetDlgItem(IDC_ABOUTICON))
        button->SetWindowSize(2 * GetSystemMetrics(SM_CXICON) + 8, 2 * GetSystemMetrics(SM_CYICON) + 8);
    SetDlgItemText(IDC_PHYSMEM, FormatMemoryLine(TotalPhysicalMemory()));
    SetDlgItemText(IDC_DISKSPACE, FormatDiskLine(FreeDiskSpace(CurrentDirectory())));
    return TRUE;
}

void CAboutDlg::OnLButtonDblClk(UINT flags, int x, int y) {
    // Only a double click on the dialog's own area comes here: one on the icon or on OK is theirs.
    MessageBox("Hi!\nTry this on THE BIG ICON!", kHiddenCaption, MB_OK | MB_ICONINFORMATION);
    DefWindowProc(WM_LBUTTONDBLCLK, flags,
                  static_cast<LPARAM>(MAKEWPARAM(static_cast<WORD>(x), static_cast<WORD>(y))));
}

void CAboutDlg::OnDoubleClickedIcon() {
    Backend* backend = CurrentBackend();
    if (!backend)
        return;
    if (!backend->IsKeyDown(VK_CONTROL) || !backend->IsKeyDown(VK_SHIFT)) {
        MessageBox("Perfect!\nNow doubleclick on THIS BIG ICON with CTRL+SHIFT!", kHiddenCaption,
                   MB_OK | MB_ICONINFORMATION);
        return;
    }
    RunDogAnimation(*this);
}

void CMainDlg::OnAbout() {
    CAboutDlg about;
    about.DoModal();
}
