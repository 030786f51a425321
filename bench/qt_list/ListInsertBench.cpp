// How much a shown song list costs the search: 100,000 rows inserted one by one in random order,
// each with its two sub-item texts and its item data as the search writes them, with the event
// loop given a pass every few rows as the search gives one per directory. The same inserts into
// a list without a view are the reference, measured in the same run; the ratio is what matters.
// Times are the process's CPU time, best of three rounds, since the machine is shared.
//
// Usage: qt_list_bench [rows]   (runs offscreen unless QT_QPA_PLATFORM says otherwise)

#include "platform/qt/ListView.h"
#include "platform/qt/QtBackend.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ListCtrl.h"
#include "platform/ui/MessageQueue.h"

#include <QApplication>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>
#include <vector>

namespace {

const std::array kControls{
    ControlTemplate{1007, ControlKind::ListView, "", 7, 97, 286, 60,
                    WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL |
                        LVS_SORTASCENDING},
};
const DialogTemplate kTemplate{
    1,        "List bench", "MS Sans Serif", 8, 300, 164, WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_APPWINDOW,
    kControls};

std::vector<std::string> SongNames(int count) {
    std::mt19937 random(12345);
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(count));
    const char* words[] = {"Ode",   "Minuet", "Sonata", "Blues", "Waltz",
                           "March", "Rag",    "Hymn",   "Air",   "Suite"};
    for (int i = 0; i < count; ++i) {
        std::string name = words[random() % 10];
        name += ' ';
        name += words[random() % 10];
        name += ' ' + std::to_string(random() % 1000000) + ".mid";
        names.push_back(name);
    }
    return names;
}

void SetUpColumns(CListCtrl& list) {
    list.SetImageList({143, 142}, LVSIL_SMALL);
    list.InsertColumn(0, "Filename", LVCFMT_LEFT, 110);
    list.InsertColumn(1, "Folder", LVCFMT_LEFT, 230);
    list.InsertColumn(2, "Size", LVCFMT_LEFT, 66);
}

// Inserts every name as the search does, giving the event loop a pass every `rowsPerPass` rows.
double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double InsertAll(CListCtrl& list, const std::vector<std::string>& names, int rowsPerPass, Backend& backend) {
    double start = CpuSeconds();
    int sinceLastPass = 0;
    for (const std::string& name : names) {
        int row = list.InsertItem(0, name);
        list.SetItemText(row, 1, "/home/user/MIDI/");
        list.SetItemText(row, 2, "12345 B");
        list.SetItemData(row, 0);
        if (++sinceLastPass == rowsPerPass) {
            sinceLastPass = 0;
            backend.ProcessEvents();
        }
    }
    backend.ProcessEvents();
    return CpuSeconds() - start;
}

double WithoutView(const std::vector<std::string>& names, int rowsPerPass, Backend& backend) {
    CDialog hidden(kTemplate); // never created: its list has no view
    SetUpColumns(hidden.Item<CListCtrl>(1007));
    return InsertAll(hidden.Item<CListCtrl>(1007), names, rowsPerPass, backend);
}

double WithShownView(const std::vector<std::string>& names, int rowsPerPass, Backend& backend) {
    CDialog shown(kTemplate);
    shown.Create();
    shown.ShowWindow(SW_SHOW);
    auto& list = shown.Item<CListCtrl>(1007);
    SetUpColumns(list);
    backend.ProcessEvents();
    double seconds = InsertAll(list, names, rowsPerPass, backend);
    // Until the view has every row and has painted them.
    double start = CpuSeconds();
    list.EnsureVisible(list.GetItemCount() - 1, false);
    for (int i = 0; i < 3; ++i)
        backend.ProcessEvents();
    seconds += CpuSeconds() - start;
    ClearMessageQueue();
    return seconds;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QtBackend backend;
    int rows = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
    std::vector<std::string> names = SongNames(rows);

    std::printf("%d rows, inserted one by one in random order\n", rows);
    std::printf("%-22s %16s %16s %8s\n", "event loop pass every", "no view [cpu s]", "shown [cpu s]",
                "ratio");
    for (int rowsPerPass : {1, 20}) {
        double reference = 1e9, withView = 1e9;
        for (int round = 0; round < 3; ++round) {
            reference = std::min(reference, WithoutView(names, rowsPerPass, backend));
            withView = std::min(withView, WithShownView(names, rowsPerPass, backend));
        }
        std::printf("%-22s %16.3f %16.3f %8.2f\n", (std::to_string(rowsPerPass) + " row(s)").c_str(),
                    reference, withView, withView / reference);
    }
    return 0;
}
