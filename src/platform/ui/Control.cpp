#include "platform/ui/Control.h"

#include "platform/ui/Dialog.h"

CControl::CControl(CDialog& owner, const ControlTemplate& tmpl)
    : m_owner(owner), m_template(tmpl), m_text(tmpl.text ? tmpl.text : ""),
      m_enabled((tmpl.style & WS_DISABLED) == 0) {}

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
