// Shows the test dialog, with one of every control, on a real display, for looking at it under a
// window manager. Each argument is a window command run one second after the one before it:
// show, hide, minimize, restore, center, box (a message box), browse (the folder chooser), menu
// (the system menu), fill (100 rows in the list). The program ends when the window is closed.

#include "QtTestSupport.h"

#include "platform/qt/DialogView.h"
#include "platform/qt/QtProgram.h"
#include "platform/ui/ListCtrl.h"
#include "platform/ui/Shell.h"
#include "platform/ui/SliderCtrl.h"

#include <QWidget>

#include <cstdio>
#include <string>
#include <vector>

namespace {

class DemoDialog : public TestDialog {
public:
    explicit DemoDialog(std::vector<std::string> commands) : m_commands(std::move(commands)) {
        onTimer = [this](UINT) { RunNext(); };
    }
    void OnClose() { EndDialog(IDCANCEL); }

    BOOL OnInitDialog() override {
        SetIcon(128);
        auto& list = Item<CListCtrl>(kListId);
        list.SetImageList({143, 142}, LVSIL_SMALL);
        list.InsertColumn(0, "Name", LVCFMT_LEFT, 120);
        list.InsertColumn(1, "Size", LVCFMT_LEFT, 60);
        Item<CSliderCtrl>(kSliderId).SetTicFreq(10);
        Item<CSliderCtrl>(kSliderId).SetPageSize(10);
        SetDlgItemText(kFolderEditId, "/Home/User/MIDI");
        AppendSystemMenu(0, "");
        AppendSystemMenu(0x10, "&About Demo...");
        SetTimer(1, 1000);
        return TRUE;
    }

private:
    void RunNext() {
        if (m_next >= m_commands.size()) {
            KillTimer(1);
            return;
        }
        const std::string& command = m_commands[m_next++];
        QtBackend& backend = static_cast<QtBackend&>(*CurrentBackend());
        if (command == "show")
            ShowWindow(SW_SHOW);
        else if (command == "hide")
            ShowWindow(SW_HIDE);
        else if (command == "minimize")
            ShowWindow(SW_MINIMIZE);
        else if (command == "restore")
            ShowWindow(SW_RESTORE);
        else if (command == "center")
            CenterWindow();
        else if (command == "box")
            std::printf("box answered %d\n", MessageBox("Every song has been played. Start again?",
                                                        "Shufflon message", MB_YESNO | MB_ICONQUESTION));
        else if (command == "browse")
            std::printf("browse: %s\n",
                        BrowseForFolder(GetSafeHwnd(), "Choose a folder").value_or("(cancelled)").c_str());
        else if (command == "menu")
            backend.ViewOf(*this)->PopUpSystemMenu(backend.ViewOf(*this)->mapToGlobal(QPoint(20, 20)));
        else if (command == "fill")
            Fill();
        DialogView* view = backend.ViewOf(*this);
        std::printf("%s: dialog visible %d iconic %d; widget visible %d minimized %d\n", command.c_str(),
                    IsWindowVisible(), IsIconic(), view->isVisible(), view->isMinimized());
        std::fflush(stdout);
    }

    void Fill() {
        auto& list = Item<CListCtrl>(kListId);
        for (int i = 0; i < 100; ++i) {
            int row = list.InsertItem(0, "Song " + std::to_string(i) + ".mid");
            list.SetItemText(row, 1, std::to_string(1000 + i) + " B");
        }
        list.SetItemState(50, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        list.EnsureVisible(50, FALSE);
    }

    MessageMap GetMessageMap() const override {
        using ThisClass = DemoDialog;
        static const MessageMapEntry entries[] = {ON_WM_TIMER(), ON_WM_CLOSE()};
        return entries;
    }

    std::vector<std::string> m_commands;
    std::size_t m_next = 0;
};

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> commands(argv + 1, argv + argc);
    return RunQtProgram(argc, argv, [&] {
        DemoDialog dialog(commands);
        dialog.DoModal();
    });
}
