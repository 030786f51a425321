#pragma once

#include "platform/WinTypes.h"

#include <string>

class CDialog;

// Dialog data exchange, the framework's way of moving a dialog's members into its controls when it
// opens and back out when the user confirms. One object is made per exchange; the DDX_ and DDV_
// functions below are called in the dialog's DoDataExchange in the order the dialog wants them.
// Out of the controls, the first control that fails validation shows its box, gets the focus with
// its text selected, and ends the exchange: what follows it is neither read nor checked.
class CDataExchange {
public:
    CDataExchange(CDialog& dialog, bool saveAndValidate)
        : m_pDlgWnd(&dialog), m_bSaveAndValidate(saveAndValidate) {}

    // Makes `id` the control a following validation failure points at.
    void PrepareCtrl(int id) { m_idLastControl = id; }
    // Shows the validation message and puts the focus on the control last prepared.
    void Fail(const std::string& message);

    CDialog* m_pDlgWnd;
    bool m_bSaveAndValidate;
    bool m_bFailed = false;

private:
    int m_idLastControl = 0;
};

// The caption of the framework's own message boxes: the program's name, made from the
// executable's name with its first letter in upper case.
std::string AfxGetAppName();

// A check box and a flag. Into the control a value outside 0 to 2 shows unchecked (2, the
// indeterminate state, shows checked on a two-state box); out of it the flag is 0 or 1.
void DDX_Check(CDataExchange* pDX, int id, BOOL& value);
// A radio group, from its first button to the next control that starts a group, and the index of
// its checked button among the group's radio buttons; -1 is none.
void DDX_Radio(CDataExchange* pDX, int id, int& value);
// An edit's whole text.
void DDX_Text(CDataExchange* pDX, int id, std::string& value);
// An edit's text as an unsigned decimal number; blanks around it are allowed.
void DDX_Text(CDataExchange* pDX, int id, UINT& value);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minimum, UINT maximum);
