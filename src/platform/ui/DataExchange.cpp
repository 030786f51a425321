#include "platform/ui/DataExchange.h"

#include "platform/sys/Paths.h"
#include "platform/ui/Control.h"
#include "platform/ui/Dialog.h"

#include <cctype>

namespace {

CButton* ButtonOf(CDataExchange* pDX, int id) {
    CControl* control = pDX->m_pDlgWnd->GetDlgItem(id);
    bool isButton =
        control && (control->Kind() == ControlKind::CheckBox || control->Kind() == ControlKind::RadioButton ||
                    control->Kind() == ControlKind::PushButton);
    return isButton ? static_cast<CButton*>(control) : nullptr;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The text as an unsigned decimal number, as the framework reads it: blanks, an optional plus
// sign, at least one digit, blanks. A number too large for 32 bits reads as the largest one, so
// that it fails the range check rather than wrapping into range.
bool ParseUnsigned(const std::string& text, UINT& value) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (i < text.size() && text[i] == '+')
        ++i;
    std::size_t digits = i;
    unsigned long long number = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        number =
            std::min<unsigned long long>(number * 10 + static_cast<unsigned>(text[i] - '0'), 0xFFFFFFFFull);
        ++i;
    }
    if (i == digits)
        return false;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (i != text.size())
        return false;
    value = static_cast<UINT>(number);
    return true;
}

} // namespace

std::string AfxGetAppName() {
    std::string name = ExecutableName();
    if (!name.empty())
        name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    return name;
}

void CDataExchange::Fail(const std::string& message) {
    m_pDlgWnd->MessageBox(message, AfxGetAppName(), MB_OK | MB_ICONEXCLAMATION);
    if (CControl* control = m_pDlgWnd->GetDlgItem(m_idLastControl))
        control->SetFocus(control->Kind() == ControlKind::Edit);
    m_bFailed = true;
}

void DDX_Check(CDataExchange* pDX, int id, BOOL& value) {
    if (pDX->m_bFailed)
        return;
    pDX->PrepareCtrl(id);
    CButton* button = ButtonOf(pDX, id);
    if (!button)
        return;
    if (pDX->m_bSaveAndValidate)
        value = button->GetCheck() != 0 ? 1 : 0;
    else
        button->SetCheck(value >= 1 && value <= 2 ? 1 : 0);
}

void DDX_Radio(CDataExchange* pDX, int id, int& value) {
    if (pDX->m_bFailed)
        return;
    pDX->PrepareCtrl(id);
    const auto& controls = pDX->m_pDlgWnd->Controls();
    std::size_t first = 0;
    while (first < controls.size() && controls[first]->GetDlgCtrlID() != id)
        ++first;
    if (pDX->m_bSaveAndValidate)
        value = -1;
    int index = 0;
    for (std::size_t i = first; i < controls.size(); ++i) {
        CControl& control = *controls[i];
        if (i > first && (control.Style() & WS_GROUP))
            break;
        if (control.Kind() != ControlKind::RadioButton)
            continue;
        auto& button = static_cast<CButton&>(control);
        if (pDX->m_bSaveAndValidate) {
            if (button.GetCheck() != 0)
                value = index;
        } else {
            button.SetCheck(index == value ? 1 : 0);
        }
        ++index;
    }
}

void DDX_Text(CDataExchange* pDX, int id, std::string& value) {
    if (pDX->m_bFailed)
        return;
    pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate)
        value = pDX->m_pDlgWnd->GetDlgItemText(id);
    else
        pDX->m_pDlgWnd->SetDlgItemText(id, value);
}

void DDX_Text(CDataExchange* pDX, int id, UINT& value) {
    if (pDX->m_bFailed)
        return;
    pDX->PrepareCtrl(id);
    if (!pDX->m_bSaveAndValidate) {
        pDX->m_pDlgWnd->SetDlgItemText(id, std::to_string(value));
        return;
    }
    if (!ParseUnsigned(pDX->m_pDlgWnd->GetDlgItemText(id), value))
        pDX->Fail("Please enter a positive integer.");
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minimum, UINT maximum) {
    if (pDX->m_bFailed || !pDX->m_bSaveAndValidate)
        return;
    if (value < minimum || value > maximum)
        pDX->Fail("Please enter an integer between " + std::to_string(minimum) + " and " +
                  std::to_string(maximum) + ".");
}
