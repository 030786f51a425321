#pragma once

#include "platform/ui/Backend.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/Wnd.h"

#include <string>

class CDialog;

// A control of a dialog, addressed by its id. It holds its own state; the backend's view only
// shows it. While its dialog has a window the control has one too, which receives the mouse input
// over it and the keys while it has the focus; it tells its dialog what the input did.
class CControl : public CWnd {
public:
    CControl(CDialog& owner, const ControlTemplate& tmpl);

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
    // Whether `text` would fit the control's width in its font, as GetTextExtent against the
    // client rectangle tells on Windows. True while the dialog has no view.
    bool TextFits(const std::string& text) const;
    // Gives the control the keyboard focus; an edit can have its whole text selected with it.
    void SetFocus(bool selectText = false);

    // SetWindowPos with SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE: a size in pixels that replaces
    // the template's; 0 x 0 until the program sets one.
    void SetWindowSize(int width, int height);
    int PixelWidth() const { return m_pixelWidth; }
    int PixelHeight() const { return m_pixelHeight; }

    // Input reaches the view when its message is dispatched.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

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
    int m_pixelWidth = 0;
    int m_pixelHeight = 0;
};

// Push buttons, check boxes and radio buttons.
class CButton : public CControl {
public:
    using CControl::CControl;
    int GetCheck() const { return m_checked; }
    void SetCheck(int checked);

    // The view reports a click. An automatic check box toggles; an automatic radio button checks
    // itself and unchecks the other radio buttons of its group. Then the dialog is sent
    // BN_CLICKED, handled before the view goes on, so that input arriving while the command holds
    // a modal box meets a disabled window, as on Windows.
    void ClickedByUser();
    // The second click of a double click on an owner-drawn button: the dialog is sent
    // BN_DOUBLECLICKED.
    void DoubleClickedByUser();

    // Owner-drawn buttons. SubclassDlgItem makes this object draw the dialog's control `id`; the
    // view calls DrawItem on the dialog's control whenever it paints, with a bitmap of the button's
    // size that holds what lies under the button.
    bool SubclassDlgItem(int id, CDialog& parent);
    virtual void DrawItem(CMemoryDC& dc);

private:
    int m_checked = 0;
    CButton* m_drawer = nullptr;
};

// Statics, static icons, group boxes and edits need no state beyond text and flags.
using CStatic = CControl;
using CEdit = CControl;
