#pragma once

#include "platform/ui/Backend.h"
#include "platform/ui/DialogTemplate.h"

#include <string>

class CDialog;

// A control of a dialog, addressed by its id. It holds its own state; the backend's view only
// shows it and turns the user's input into messages for the dialog.
class CControl {
public:
    CControl(CDialog& owner, const ControlTemplate& tmpl);
    CControl(const CControl&) = delete;
    CControl& operator=(const CControl&) = delete;
    virtual ~CControl() = default;

    int GetDlgCtrlID() const { return m_template.id; }
    ControlKind Kind() const { return m_template.kind; }
    DWORD Style() const { return m_template.style; }
    const ControlTemplate& Template() const { return m_template; }
    CDialog& Owner() const { return m_owner; }

    const std::string& GetWindowText() const { return m_text; }
    void SetWindowText(const std::string& text);
    bool IsWindowEnabled() const { return m_enabled; }
    void EnableWindow(bool enable);
    bool IsWindowVisible() const { return m_visible; }
    void ShowWindow(int command);
    // Gives the control the keyboard focus; an edit can have its whole text selected with it.
    void SetFocus(bool selectText = false);

    // The view reports text the user typed; it does not echo back to the view.
    void TextEditedByUser(const std::string& text) { m_text = text; }

protected:
    void Notify(ControlChange change, int row = -1);

private:
    CDialog& m_owner;
    const ControlTemplate& m_template;
    std::string m_text;
    bool m_enabled;
    bool m_visible = true;
};

// Push buttons, check boxes and radio buttons.
class CButton : public CControl {
public:
    using CControl::CControl;
    int GetCheck() const { return m_checked; }
    void SetCheck(int checked);

    // The view reports a click. An automatic check box toggles; an automatic radio button checks
    // itself and unchecks the other radio buttons of its group. Then the dialog gets BN_CLICKED.
    void ClickedByUser();

private:
    int m_checked = 0;
};

// Statics, static icons, group boxes and edits need no state beyond text and flags.
using CStatic = CControl;
using CEdit = CControl;
