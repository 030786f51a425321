#pragma once

#include "platform/ui/Message.h"

#include <span>

class CWnd;

// One row of a dialog's message table: which message (and for commands and notifications which
// control and code) reaches which member function. The macros below write the rows; each
// expects `using ThisClass = <the dialog class>;` in scope.
struct MessageMapEntry {
    UINT message;
    UINT code;   // WM_COMMAND: notification code; WM_NOTIFY: notification code; else unused
    int idFirst; // WM_COMMAND / WM_NOTIFY: control id range; else unused
    int idLast;
    LRESULT (*handler)(CWnd& window, WPARAM wParam, LPARAM lParam);
};

using MessageMap = std::span<const MessageMapEntry>;

// Posted WM_NOTIFY messages carry the control id in wParam and the notification code in lParam;
// the dialog builds the NMHDR its handler receives.

#define ON_BN_CLICKED(id, member)                                                                            \
    MessageMapEntry {                                                                                        \
        WM_COMMAND, BN_CLICKED, id, id, [](CWnd& w, WPARAM, LPARAM) -> LRESULT {                             \
            static_cast<ThisClass&>(w).member();                                                             \
            return 0;                                                                                        \
        }                                                                                                    \
    }

#define ON_NOTIFY(code, id, member)                                                                          \
    MessageMapEntry {                                                                                        \
        WM_NOTIFY, static_cast<UINT>(code), id, id, [](CWnd& w, WPARAM wp, LPARAM lp) -> LRESULT {           \
            NMHDR header{0, static_cast<UINT>(wp), static_cast<UINT>(lp)};                                   \
            LRESULT result = 0;                                                                              \
            static_cast<ThisClass&>(w).member(&header, &result);                                             \
            return result;                                                                                   \
        }                                                                                                    \
    }

#define ON_MESSAGE(message, member)                                                                          \
    MessageMapEntry {                                                                                        \
        message, 0, 0, 0, [](CWnd& w, WPARAM wp, LPARAM lp) -> LRESULT {                                     \
            return static_cast<ThisClass&>(w).member(wp, lp);                                                \
        }                                                                                                    \
    }

#define ON_WM_TIMER()                                                                                        \
    MessageMapEntry {                                                                                        \
        WM_TIMER, 0, 0, 0, [](CWnd& w, WPARAM wp, LPARAM) -> LRESULT {                                       \
            static_cast<ThisClass&>(w).OnTimer(static_cast<UINT>(wp));                                       \
            return 0;                                                                                        \
        }                                                                                                    \
    }

#define ON_WM_CLOSE()                                                                                        \
    MessageMapEntry {                                                                                        \
        WM_CLOSE, 0, 0, 0, [](CWnd& w, WPARAM, LPARAM) -> LRESULT {                                          \
            static_cast<ThisClass&>(w).OnClose();                                                            \
            return 0;                                                                                        \
        }                                                                                                    \
    }

#define ON_WM_SYSCOMMAND()                                                                                   \
    MessageMapEntry {                                                                                        \
        WM_SYSCOMMAND, 0, 0, 0, [](CWnd& w, WPARAM wp, LPARAM lp) -> LRESULT {                               \
            static_cast<ThisClass&>(w).OnSysCommand(static_cast<UINT>(wp), lp);                              \
            return 0;                                                                                        \
        }                                                                                                    \
    }

// WM_HSCROLL carries the scroll code in the low word of wParam, the position in the high word and
// the id of the sending control in lParam.
#define ON_WM_HSCROLL()                                                                                      \
    MessageMapEntry {                                                                                        \
        WM_HSCROLL, 0, 0, 0, [](CWnd& w, WPARAM wp, LPARAM lp) -> LRESULT {                                  \
            static_cast<ThisClass&>(w).OnHScroll(LOWORD(wp), HIWORD(wp), static_cast<int>(lp));              \
            return 0;                                                                                        \
        }                                                                                                    \
    }

#define ON_BN_DOUBLECLICKED(id, member)                                                                      \
    MessageMapEntry {                                                                                        \
        WM_COMMAND, BN_DOUBLECLICKED, id, id, [](CWnd& w, WPARAM, LPARAM) -> LRESULT {                       \
            static_cast<ThisClass&>(w).member();                                                             \
            return 0;                                                                                        \
        }                                                                                                    \
    }

// WM_LBUTTONDBLCLK carries the point in client coordinates, x in the low word of lParam.
#define ON_WM_LBUTTONDBLCLK()                                                                                \
    MessageMapEntry {                                                                                        \
        WM_LBUTTONDBLCLK, 0, 0, 0, [](CWnd& w, WPARAM wp, LPARAM lp) -> LRESULT {                            \
            static_cast<ThisClass&>(w).OnLButtonDblClk(                                                      \
                static_cast<UINT>(wp), static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));      \
            return 0;                                                                                        \
        }                                                                                                    \
    }
