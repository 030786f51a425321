#include "platform/ui/Dialog.h"

#include "platform/ui/Backend.h"
#include "platform/ui/ListCtrl.h"
#include "platform/ui/MessageQueue.h"
#include "platform/ui/SliderCtrl.h"

#include <algorithm>

namespace {

std::unique_ptr<CControl> MakeControl(CDialog& owner, const ControlTemplate& tmpl) {
    switch (tmpl.kind) {
    case ControlKind::ListView:
        return std::make_unique<CListCtrl>(owner, tmpl);
    case ControlKind::Trackbar:
        return std::make_unique<CSliderCtrl>(owner, tmpl);
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
        return std::make_unique<CButton>(owner, tmpl);
    default:
        return std::make_unique<CControl>(owner, tmpl);
    }
}

} // namespace

CDialog::CDialog(const DialogTemplate& tmpl) : m_template(tmpl), m_caption(tmpl.caption ? tmpl.caption : "") {
    for (const ControlTemplate& control : tmpl.controls)
        m_controls.push_back(MakeControl(*this, control));
    if (tmpl.style & WS_SYSMENU) {
        m_systemMenu = {{SC_RESTORE, "&Restore", true},     {SC_MOVE, "&Move", false},
                        {SC_SIZE, "&Size", false},          {SC_MINIMIZE, "Mi&nimize", false},
                        {SC_MAXIMIZE, "Ma&ximize", false},  {0, "", false},
                        {SC_CLOSE, "&Close\tAlt+F4", false}};
    }
}

CDialog::~CDialog() {
    DestroyWindow();
}

bool CDialog::CreateView() {
    RegisterHandle();
    for (const auto& control : m_controls)
        control->RegisterHandle();
    if (Backend* backend = CurrentBackend()) {
        backend->CreateDialogView(*this);
        m_hasView = true;
    }
    return true;
}

int CDialog::DoModal() {
    m_modal = true;
    m_ended = false;
    CreateView();
    OnInitDialog();
    if (!m_ended) {
        ShowWindow(SW_SHOW);
        RunModalLoop([this] { return m_ended; });
    }
    DestroyWindow();
    m_modal = false;
    return m_result;
}

bool CDialog::Create() {
    m_modal = false;
    m_ended = false;
    CreateView();
    OnInitDialog();
    if (m_template.style & WS_VISIBLE)
        ShowWindow(SW_SHOW);
    return true;
}

bool CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange exchange(*this, saveAndValidate != FALSE);
    DoDataExchange(&exchange);
    return !exchange.m_bFailed;
}

void CDialog::EndDialog(int result) {
    m_result = result;
    m_ended = true;
}

void CDialog::DestroyWindow() {
    if (m_hasView) {
        if (Backend* backend = CurrentBackend())
            backend->DestroyDialogView(*this);
        m_hasView = false;
    }
    m_visible = false;
    for (const auto& control : m_controls)
        control->UnregisterHandle();
    UnregisterHandle();
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    for (const MessageMapEntry& entry : GetMessageMap()) {
        if (entry.message != message)
            continue;
        if (message == WM_COMMAND) {
            int id = LOWORD(wParam);
            if (entry.code != HIWORD(wParam) || id < entry.idFirst || id > entry.idLast)
                continue;
        } else if (message == WM_NOTIFY) {
            int id = static_cast<int>(wParam);
            if (entry.code != static_cast<UINT>(lParam) || id < entry.idFirst || id > entry.idLast)
                continue;
        }
        return entry.handler(*this, wParam, lParam);
    }
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM) {
    if (IsInputMessage(message)) {
        DeliverCurrentInput(m_hWnd, message);
        return 0;
    }
    switch (message) {
    case WM_CLOSE:
        // As the Windows dialog default does: closing a dialog is its Cancel command.
        PostMessage(WM_COMMAND, IDCANCEL, 0);
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDOK)
            OnOK();
        else if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDCANCEL)
            OnCancel();
        return 0;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_CLOSE:
            SendMessage(WM_CLOSE);
            break;
        case SC_MINIMIZE:
            ShowWindow(SW_MINIMIZE);
            break;
        case SC_RESTORE:
            ShowWindow(SW_RESTORE);
            break;
        default:
            break;
        }
        return 0;
    default:
        return 0;
    }
}

void CDialog::ShowWindow(int command) {
    switch (command) {
    case SW_HIDE:
        m_visible = false;
        break;
    case SW_MINIMIZE:
        m_visible = true;
        m_iconic = true;
        break;
    case SW_RESTORE:
        m_visible = true;
        m_iconic = false;
        break;
    default:
        m_visible = true;
        break;
    }
    if (Backend* backend = CurrentBackend(); backend && m_hasView)
        backend->ShowDialog(*this, command);
}

void CDialog::CenterWindow() {
    if (Backend* backend = CurrentBackend(); backend && m_hasView)
        backend->CenterDialog(*this);
}

void CDialog::SetFocus() {
    if (Backend* backend = CurrentBackend(); backend && m_hasView)
        backend->FocusDialog(*this);
}

void CDialog::SetWindowText(const std::string& caption) {
    m_caption = caption;
    if (Backend* backend = CurrentBackend(); backend && m_hasView)
        backend->DialogChanged(*this);
}

int CDialog::ClientWidth() const {
    Backend* backend = CurrentBackend();
    return backend && m_hasView ? backend->ClientWidth(const_cast<CDialog&>(*this)) : 0;
}

int CDialog::ClientHeight() const {
    Backend* backend = CurrentBackend();
    return backend && m_hasView ? backend->ClientHeight(const_cast<CDialog&>(*this)) : 0;
}

void CDialog::SetClientSize(int width, int height) {
    if (Backend* backend = CurrentBackend(); backend && m_hasView)
        backend->SetClientSize(*this, width, height);
}

void CDialog::SetIcon(int iconId) {
    m_iconId = iconId;
    if (Backend* backend = CurrentBackend(); backend && m_hasView)
        backend->DialogChanged(*this);
}

void CDialog::AppendSystemMenu(UINT id, const std::string& text) {
    m_systemMenu.push_back({id, text, false});
    if (Backend* backend = CurrentBackend(); backend && m_hasView)
        backend->DialogChanged(*this);
}

void CDialog::DeleteSystemMenu(UINT id) {
    std::erase_if(m_systemMenu, [id](const SystemMenuItem& item) { return item.id == id && id != 0; });
    if (Backend* backend = CurrentBackend(); backend && m_hasView)
        backend->DialogChanged(*this);
}

void CDialog::CheckSystemMenu(UINT id, bool checked, const std::string& tip) {
    m_systemMenuChecks[id] = SystemMenuCheck{checked, tip};
    if (Backend* backend = CurrentBackend(); backend && m_hasView)
        backend->DialogChanged(*this);
}

SystemMenuCheck CDialog::SystemMenuCheckOf(UINT id) const {
    const auto found = m_systemMenuChecks.find(id);
    return found == m_systemMenuChecks.end() ? SystemMenuCheck{} : found->second;
}

void CDialog::GraySystemMenu(UINT id, bool grayed) {
    for (SystemMenuItem& item : m_systemMenu) {
        if (item.id == id)
            item.grayed = grayed;
    }
    if (Backend* backend = CurrentBackend(); backend && m_hasView)
        backend->DialogChanged(*this);
}

CControl* CDialog::GetDlgItem(int id) const {
    for (const auto& control : m_controls) {
        if (control->GetDlgCtrlID() == id)
            return control.get();
    }
    return nullptr;
}

void CDialog::SetDlgItemText(int id, const std::string& text) {
    if (CControl* control = GetDlgItem(id))
        control->SetWindowText(text);
}

std::string CDialog::GetDlgItemText(int id) const {
    CControl* control = GetDlgItem(id);
    return control ? control->GetWindowText() : std::string();
}

void CDialog::EnableDlgItem(int id, bool enable) {
    if (CControl* control = GetDlgItem(id))
        control->EnableWindow(enable);
}

void CDialog::SetTimer(UINT id, UINT milliseconds) {
    // Setting a timer again starts its period afresh; a tick it had waiting is gone.
    ForgetTimerTick(m_hWnd, id);
    if (Backend* backend = CurrentBackend())
        backend->SetTimer(m_hWnd, id, milliseconds);
}

void CDialog::KillTimer(UINT id) {
    ForgetTimerTick(m_hWnd, id);
    if (Backend* backend = CurrentBackend())
        backend->KillTimer(m_hWnd, id);
}

int CDialog::MessageBox(const std::string& text, const std::string& caption, UINT style) {
    Backend* backend = CurrentBackend();
    return backend ? backend->MessageBox(m_hWnd, text, caption, style) : IDOK;
}
