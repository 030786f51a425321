#pragma once

#include "platform/ui/Control.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/MessageMap.h"
#include "platform/ui/Wnd.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

// One item of a window's system menu.
struct SystemMenuItem {
    UINT id = 0; // 0 for a separator
    std::string text;
    bool grayed = false;
};

// The check mark of a system menu item, and its tip (shown when the pointer rests on it).
struct SystemMenuCheck {
    bool checked = false;
    std::string tip;
};

// A dialog built from a template. Its controls exist from construction on; the backend gives it a
// view when it is created (modal or modeless). Messages reach the member functions named in the
// derived class's message table; what the table does not handle gets the dialog defaults.
class CDialog : public CWnd {
public:
    explicit CDialog(const DialogTemplate& tmpl);
    ~CDialog() override;

    const DialogTemplate& Template() const { return m_template; }

    // Runs the dialog modally and returns the value given to EndDialog.
    int DoModal();
    // Creates the dialog modeless; it shows itself when its template says WS_VISIBLE.
    bool Create();
    void EndDialog(int result);
    void DestroyWindow();
    bool HasView() const { return m_hasView; }
    bool IsModalRunning() const { return m_modal && !m_ended; }

    // The base initialisation moves the members into the controls; OK moves them back and ends
    // the dialog only when every control passed its validation.
    virtual BOOL OnInitDialog() {
        UpdateData(FALSE);
        return TRUE;
    }
    virtual void OnOK() {
        if (UpdateData(TRUE))
            EndDialog(IDOK);
    }
    // Runs the dialog's data exchange; false when a control failed its validation.
    bool UpdateData(BOOL saveAndValidate = TRUE);
    virtual void OnCancel() { EndDialog(IDCANCEL); }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Window state.
    void ShowWindow(int command);
    bool IsWindowVisible() const { return m_visible; }
    bool IsIconic() const { return m_iconic; }
    void CenterWindow();
    void SetFocus();
    void SetWindowText(const std::string& caption);
    const std::string& GetWindowText() const { return m_caption; }
    void SetIcon(int iconId);
    int GetIcon() const { return m_iconId; }
    // The client area's size in pixels; 0 x 0 while the window has no view.
    int ClientWidth() const;
    int ClientHeight() const;
    void SetClientSize(int width, int height);

    // The view reports what the window manager did to the window.
    void StateChangedByUser(bool visible, bool iconic) {
        m_visible = visible;
        m_iconic = iconic;
    }

    // System menu.
    const std::vector<SystemMenuItem>& SystemMenu() const { return m_systemMenu; }
    void AppendSystemMenu(UINT id, const std::string& text);
    void DeleteSystemMenu(UINT id);
    void GraySystemMenu(UINT id, bool grayed);
    void CheckSystemMenu(UINT id, bool checked, const std::string& tip = {});
    SystemMenuCheck SystemMenuCheckOf(UINT id) const;

    // Controls.
    const std::vector<std::unique_ptr<CControl>>& Controls() const { return m_controls; }
    CControl* GetDlgItem(int id) const;
    template <class T> T& Item(int id) const { return static_cast<T&>(*GetDlgItem(id)); }
    void SetDlgItemText(int id, const std::string& text);
    std::string GetDlgItemText(int id) const;
    void EnableDlgItem(int id, bool enable);

    // Timers and boxes owned by this window.
    void SetTimer(UINT id, UINT milliseconds);
    void KillTimer(UINT id);
    int MessageBox(const std::string& text, const std::string& caption, UINT style);

protected:
    virtual MessageMap GetMessageMap() const { return {}; }
    virtual void DoDataExchange(CDataExchange*) {}
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    bool CreateView();

    const DialogTemplate& m_template;
    std::vector<std::unique_ptr<CControl>> m_controls;
    std::vector<SystemMenuItem> m_systemMenu;
    std::map<UINT, SystemMenuCheck> m_systemMenuChecks;
    std::string m_caption;
    int m_iconId = 0;
    bool m_hasView = false;
    bool m_modal = false;
    bool m_ended = false;
    int m_result = 0;
    bool m_visible = false;
    bool m_iconic = false;
};
