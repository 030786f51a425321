#include "platform/ui/Control.h"

#include "platform/ui/Dialog.h"

CControl::CControl(CDialog& owner, const ControlTemplate& tmpl)
    : m_owner(owner), m_template(tmpl), m_text(tmpl.text ? tmpl.text : ""),
      m_enabled((tmpl.style & WS_DISABLED) == 0) {}

LRESULT CControl::WindowProc(UINT message, WPARAM, LPARAM) {
    if (IsInputMessage(message))
        DeliverCurrentInput(m_hWnd, message);
    return 0;
}

void CControl::SetWindowText(const std::string& text) {
    if (text == m_text)
        return;
    m_text = text;
    Notify(ControlChange::Text);
}

void CControl::EnableWindow(bool enable) {
    if (enable == m_enabled)
        return;
    m_enabled = enable;
    Notify(ControlChange::State);
}

void CControl::ShowWindow(int command) {
    bool visible = command != SW_HIDE;
    if (visible == m_visible)
        return;
    m_visible = visible;
    Notify(ControlChange::State);
}

void CControl::SetWindowSize(int width, int height) {
    m_pixelWidth = width;
    m_pixelHeight = height;
    Notify(ControlChange::Size);
}

bool CControl::TextFits(const std::string& text) const {
    Backend* backend = CurrentBackend();
    return !backend || !m_owner.HasView() || backend->TextFits(m_owner, const_cast<CControl&>(*this), text);
}

void CControl::SetFocus(bool selectText) {
    if (Backend* backend = CurrentBackend(); backend && m_owner.HasView())
        backend->FocusControl(m_owner, *this, selectText);
}

void CControl::Notify(ControlChange change, int row) {
    if (Backend* backend = CurrentBackend(); backend && m_owner.HasView())
        backend->ControlChanged(m_owner, *this, change, row);
}

void CButton::SetCheck(int checked) {
    if (checked == m_checked)
        return;
    m_checked = checked;
    Notify(ControlChange::Value);
}

void CButton::ClickedByUser() {
    CDialog& dialog = Owner();
    switch (Style() & 0xF) {
    case BS_AUTOCHECKBOX:
        SetCheck(GetCheck() ? 0 : 1);
        break;
    case BS_AUTORADIOBUTTON: {
        // A group runs from a control with WS_GROUP to the control before the next one with it.
        const auto& controls = dialog.Controls();
        std::size_t self = 0;
        while (self < controls.size() && controls[self].get() != this)
            ++self;
        std::size_t first = self;
        while (first > 0 && first < controls.size() && (controls[first]->Style() & WS_GROUP) == 0)
            --first;
        for (std::size_t i = first; i < controls.size(); ++i) {
            if (i > first && (controls[i]->Style() & WS_GROUP))
                break;
            if (i != self && controls[i]->Kind() == ControlKind::RadioButton)
                static_cast<CButton&>(*controls[i]).SetCheck(0);
        }
        SetCheck(1);
        break;
    }
    default:
        break;
    }
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID()), BN_CLICKED), 0);
}

void CButton::DoubleClickedByUser() {
    Owner().SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID()), BN_DOUBLECLICKED), 0);
}

bool CButton::SubclassDlgItem(int id, CDialog& parent) {
    CControl* control = parent.GetDlgItem(id);
    if (!control || control == this)
        return false;
    auto* button = dynamic_cast<CButton*>(control);
    if (!button)
        return false;
    button->m_drawer = this;
    return true;
}

void CButton::DrawItem(CMemoryDC& dc) {
    if (m_drawer)
        m_drawer->DrawItem(dc);
}
