#pragma once

#include "platform/sys/SystemInfo.h"
#include "platform/ui/Dialog.h"

#include <cstdint>
#include <optional>
#include <string>

// The big application icon of the About box: drawn at twice its size in a black frame with a
// dark grey shadow on its right and bottom, over whatever lies beneath it. It looks the same
// pressed, focused or disabled.
class CIconButton : public CButton {
public:
    explicit CIconButton(CDialog& owner);
    void DrawItem(CMemoryDC& dc) override;
};

// The About box: version, credits, the machine's memory and free disk space, and, behind its big
// icon, the running dog.
class CAboutDlg : public CDialog {
public:
    using ThisClass = CAboutDlg;

    CAboutDlg();
    ~CAboutDlg() override;

    BOOL OnInitDialog() override;

    void OnLButtonDblClk(UINT flags, int x, int y);
    void OnDoubleClickedIcon();

protected:
    MessageMap GetMessageMap() const override;

private:
    CIconButton m_icon;
};

// The memory and disk lines, from the figures the system gave.
std::string FormatMemoryLine(std::uint64_t totalBytes);
std::string FormatDiskLine(const std::optional<DiskSpace>& space);

// The hidden animation: the dog's sound, then the frames running across the strip at y = 15 of
// the dialog's client area, from its right edge to past its left one, holding the thread
// throughout.
void RunDogAnimation(CDialog& dialog);
