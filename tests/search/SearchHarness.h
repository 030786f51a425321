#pragma once

#include "TempTree.h"

#include "platform/headless/HeadlessBackend.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ListCtrl.h"
#include "platform/ui/MessageQueue.h"
#include "res/dialogs/SearchProgressDialog.h"
#include "search/CDirStruct.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// A stand-in for the main dialog: the song list as the program creates it, and a record of every
// message that reached the window, so tests can tell what the search let through.
inline constexpr ControlTemplate kListOnly[] = {
    {1007, ControlKind::ListView, "", 7, 97, 286, 60,
     WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SORTASCENDING |
         LVS_AUTOARRANGE},
};
inline const DialogTemplate kMainStandIn = {
    102, "Shufflon", "MS Sans Serif", 8, 300, 160, WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, kListOnly};

class MainStandIn : public CDialog {
public:
    MainStandIn() : CDialog(kMainStandIn) {}

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        received.push_back(MSG{GetSafeHwnd(), message, wParam, lParam});
        if (onMessage)
            onMessage(message);
        return CDialog::WindowProc(message, wParam, lParam);
    }
    CListCtrl& List() { return Item<CListCtrl>(1007); }

    std::vector<MSG> received;
    std::function<void(UINT)> onMessage;
};

// The engine with a hook on every directory it enters, run before the directory's queue sample.
class ScriptedSearch : public CDirStruct {
public:
    void ScanDirectory(DirNode* node, const std::string& path) override {
        entered.push_back(path);
        if (onEnter)
            onEnter(path);
        CDirStruct::ScanDirectory(node, path);
    }

    std::vector<std::string> entered;
    std::function<void(const std::string&)> onEnter;
};

struct Row {
    std::string name, folder, size;
    LPARAM data;
    bool operator==(const Row&) const = default;
};

inline void PrintTo(const Row& row, std::ostream* os) {
    *os << "{" << row.name << ", " << row.folder << ", " << row.size << ", " << row.data << "}";
}

class SearchTest : public ::testing::Test {
protected:
    void SetUp() override { main.Create(); }

    std::vector<Row> Rows() {
        std::vector<Row> rows;
        CListCtrl& list = main.List();
        for (int r = 0; r < list.GetItemCount(); ++r)
            rows.push_back({list.GetItemText(r, 0), list.GetItemText(r, 1), list.GetItemText(r, 2),
                            list.GetItemData(r)});
        return rows;
    }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (const Row& row : Rows())
            names.push_back(row.name);
        return names;
    }
    int Run(CDirStruct& engine, const std::string& folder, bool recurse = true) {
        return engine.Search(folder, &main.List(), recurse ? TRUE : FALSE);
    }

    HeadlessBackend backend;
    MainStandIn main;
    TempTree tree;
};
