#include "platform/qt/DialogView.h"

#include "platform/qt/ButtonViews.h"
#include "platform/qt/ControlView.h"
#include "platform/qt/Icons.h"
#include "platform/qt/ListView.h"
#include "platform/qt/Text.h"
#include "platform/ui/Dialog.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QWindow>

#include <algorithm>

namespace {

Qt::WindowFlags FlagsFor(const DialogTemplate& tmpl) {
    // A window with a taskbar button of its own is a main window; the others are the dialogs of
    // one. Neither has a maximise button; one with a sizing border can be made larger.
    Qt::WindowFlags flags = (tmpl.exStyle & WS_EX_APPWINDOW) ? Qt::Window : Qt::Dialog;
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (tmpl.style & WS_SYSMENU)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (tmpl.style & WS_MINIMIZEBOX)
        flags |= Qt::WindowMinimizeButtonHint;
    return flags;
}

} // namespace

DialogView::DialogView(CDialog& dialog)
    : QWidget(nullptr, FlagsFor(dialog.Template())), m_dialog(dialog),
      m_metrics(DialogMetricsFor(dialog.Template().fontName, dialog.Template().fontPointSize)) {
    const DialogTemplate& tmpl = dialog.Template();
    setFont(m_metrics.font);
    setAutoFillBackground(true);
    m_templateSize = QSize(m_metrics.X(tmpl.cx), m_metrics.Y(tmpl.cy));
    if (tmpl.style & WS_THICKFRAME) {
        setMinimumSize(m_templateSize);
        resize(m_templateSize);
    } else {
        setFixedSize(m_templateSize);
    }

    for (const auto& control : dialog.Controls()) {
        ControlView* view = CreateControlView(*control, m_metrics, *this);
        if (!view)
            continue;
        m_views.emplace(control.get(), view);
        if (control->Template().follow != 0)
            m_followers.push_back({&view->Widget(), view->Widget().geometry(), control->Template().follow});
    }
    // Group boxes are drawn behind the controls they frame, which come later in the template.
    // Radio groups run from one control with WS_GROUP to the next.
    std::vector<RadioButtonView*> radios;
    for (const auto& control : dialog.Controls()) {
        if (control->Style() & WS_GROUP) {
            RadioButtonView::Group(radios, *this);
            radios.clear();
        }
        ControlView* view = ViewOf(*control);
        if (control->Kind() == ControlKind::GroupBox && view)
            view->Widget().lower();
        if (auto* radio = dynamic_cast<RadioButtonView*>(view))
            radios.push_back(radio);
    }
    RadioButtonView::Group(radios, *this);

    m_systemMenu = new QMenu(this);
    connect(m_systemMenu, &QMenu::triggered, this,
            [this](QAction* action) { SystemCommandChosen(action->data().toUInt()); });
    m_clock.start();
    m_heldTextTimer.setSingleShot(true);
    connect(&m_heldTextTimer, &QTimer::timeout, this, [this] { ShowHeldTexts(); });
    ShowCaptionAndIcon();
}

DialogView::~DialogView() = default;

ControlView* DialogView::ViewOf(const CControl& control) const {
    auto it = m_views.find(&control);
    return it == m_views.end() ? nullptr : it->second;
}

QWidget* DialogView::WidgetOf(int controlId) const {
    CControl* control = m_dialog.GetDlgItem(controlId);
    ControlView* view = control ? ViewOf(*control) : nullptr;
    return view ? &view->Widget() : nullptr;
}

void DialogView::ControlChanged(CControl& control, ControlChange change, int row) {
    ControlView* view = ViewOf(control);
    if (!view || (change == ControlChange::Text && HoldText(control)))
        return;
    if (change == ControlChange::Size)
        view->Widget().resize(control.PixelWidth(), control.PixelHeight());
    view->Sync(change, row);
}

bool DialogView::HoldText(const CControl& control) {
    if (control.Kind() != ControlKind::Static)
        return false;
    qint64 now = m_clock.elapsed();
    auto [shown, first] = m_textShownAt.try_emplace(&control, now);
    if (first || !isVisible() || now - shown->second >= kTextPaceMs) {
        shown->second = now;
        return false;
    }
    if (std::find(m_heldTexts.begin(), m_heldTexts.end(), &control) == m_heldTexts.end())
        m_heldTexts.push_back(&control);
    if (!m_heldTextTimer.isActive())
        m_heldTextTimer.start(static_cast<int>(kTextPaceMs - (now - shown->second)));
    return true;
}

void DialogView::ShowHeldTexts() {
    std::vector<const CControl*> held;
    held.swap(m_heldTexts);
    qint64 now = m_clock.elapsed();
    for (const CControl* control : held) {
        m_textShownAt[control] = now;
        if (ControlView* view = ViewOf(*control))
            view->Sync(ControlChange::Text, -1);
    }
}

void DialogView::ShowCaptionAndIcon() {
    setWindowTitle(WindowTitle(m_dialog.GetWindowText()));
    if (m_dialog.GetIcon() != 0)
        setWindowIcon(IconOf(m_dialog.GetIcon()));
}

void DialogView::Show(int command, DialogView* owner) {
    if (command == SW_HIDE) {
        hide();
        return;
    }
    PlaceAtFirstShow(owner);
    switch (command) {
    case SW_MINIMIZE:
        showMinimized();
        break;
    case SW_RESTORE:
        showNormal();
        Activate();
        break;
    default:
        // A window hidden while minimised comes back minimised.
        if (m_dialog.IsIconic()) {
            showMinimized();
        } else {
            show();
            Activate();
        }
        break;
    }
}

void DialogView::PlaceAtFirstShow(DialogView* owner) {
    if (m_shownBefore)
        return;
    m_shownBefore = true;
    if (owner == this)
        owner = nullptr;
    if (!m_placed)
        CenterOver((m_dialog.Template().style & DS_CENTER) ? nullptr : owner);
    if (owner && (m_dialog.Template().exStyle & WS_EX_APPWINDOW) == 0) {
        // Belonging to the owner keeps the window above it and out of the task bar; a modal
        // dialog also keeps the user out of its owner until it ends.
        winId();
        owner->winId();
        windowHandle()->setTransientParent(owner->windowHandle());
        if (m_dialog.IsModalRunning())
            setWindowModality(Qt::WindowModal);
    }
    FocusFirstTabStop();
}

void DialogView::FocusFirstTabStop() {
    for (const auto& control : m_dialog.Controls()) {
        if ((control->Style() & WS_TABSTOP) && control->IsWindowEnabled() && control->IsWindowVisible()) {
            if (ControlView* view = ViewOf(*control)) {
                view->Widget().setFocus(Qt::TabFocusReason);
                return;
            }
        }
    }
}

void DialogView::CenterOver(const QWidget* owner) {
    QScreen* screen = owner ? owner->screen() : this->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    QRect over = (owner && owner->isVisible() && !owner->isMinimized()) ? owner->frameGeometry() : available;
    // Before the window is first shown its frame is unknown; the client area stands in for it.
    QSize size = isVisible() ? frameGeometry().size() : this->size();
    QPoint topLeft = over.center() - QPoint(size.width() / 2, size.height() / 2);
    topLeft.setX(std::clamp(topLeft.x(), available.left(),
                            std::max(available.left(), available.right() - size.width())));
    topLeft.setY(std::clamp(topLeft.y(), available.top(),
                            std::max(available.top(), available.bottom() - size.height())));
    move(topLeft);
    m_placed = true;
}

void DialogView::Activate() {
    raise();
    activateWindow();
}

void DialogView::FocusControl(const CControl& control, bool selectText) {
    ControlView* view = ViewOf(control);
    if (!view)
        return;
    view->Widget().setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(&view->Widget()); edit && selectText)
        edit->selectAll();
}

void DialogView::SendCommand(int id) {
    m_dialog.SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), 0);
}

const CControl* DialogView::ControlOf(const QWidget* widget) const {
    while (widget && widget->parentWidget() != this)
        widget = widget->parentWidget();
    for (const auto& [control, view] : m_views) {
        if (widget && &view->Widget() == widget)
            return control;
    }
    return nullptr;
}

std::pair<HWND, QPoint> DialogView::MouseOwnerAt(const QPoint& position) const {
    const CControl* control = ControlOf(childAt(position));
    if (!control || !control->IsWindowEnabled() || control->Kind() == ControlKind::Static ||
        control->Kind() == ControlKind::StaticIcon || control->Kind() == ControlKind::GroupBox)
        return {m_dialog.GetSafeHwnd(), QPoint()};
    return {control->GetSafeHwnd(), ViewOf(*control)->Widget().pos()};
}

HWND DialogView::KeyOwner() const {
    const CControl* control = ControlOf(focusWidget());
    return control ? control->GetSafeHwnd() : m_dialog.GetSafeHwnd();
}

void DialogView::SystemKey(int virtualKey) {
    if ((m_dialog.Template().style & WS_SYSMENU) == 0)
        return;
    if (virtualKey == VK_F4)
        m_dialog.PostMessage(WM_SYSCOMMAND, SC_CLOSE);
    else
        PopUpSystemMenu(mapToGlobal(QPoint(0, 0)));
}

void DialogView::resizeEvent(QResizeEvent* event) {
    // What the window gained over its template goes to the controls that follow its edges.
    const int wider = std::max(0, width() - m_templateSize.width());
    const int taller = std::max(0, height() - m_templateSize.height());
    for (const Follower& follower : m_followers) {
        QRect rect = follower.templateRect;
        rect.translate(follower.follow & FOLLOW_RIGHT ? wider : 0,
                       follower.follow & FOLLOW_BOTTOM ? taller : 0);
        rect.setWidth(rect.width() + (follower.follow & GROW_WIDTH ? wider : 0));
        rect.setHeight(rect.height() + (follower.follow & GROW_HEIGHT ? taller : 0));
        follower.widget->setGeometry(rect);
        if (auto* list = dynamic_cast<ListView*>(follower.widget); list && (follower.follow & GROW_WIDTH))
            list->SetExtraWidth(wider);
    }
    QWidget::resizeEvent(event);
}

void DialogView::closeEvent(QCloseEvent* event) {
    // The close box and the window manager's close ask the dialog; the view closes only when
    // the dialog destroys it.
    event->ignore();
    m_dialog.PostMessage(WM_CLOSE);
}

void DialogView::keyPressEvent(QKeyEvent* event) {
    // Keys reach the window only when the focused control did not want them.
    Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Escape:
        SendCommand(IDCANCEL);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        if (auto* button = dynamic_cast<PushButtonView*>(focusWidget())) {
            button->Control().ClickedByUser();
            break;
        }
        int command = IDOK;
        for (const auto& control : m_dialog.Controls()) {
            if (control->Kind() == ControlKind::PushButton && (control->Style() & 0xF) == BS_DEFPUSHBUTTON &&
                control->IsWindowEnabled()) {
                command = control->GetDlgCtrlID();
                break;
            }
        }
        SendCommand(command);
        break;
    }
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void DialogView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange)
        m_dialog.StateChangedByUser(isVisible(), isMinimized());
    QWidget::changeEvent(event);
}

void DialogView::contextMenuEvent(QContextMenuEvent* event) {
    // The background is where no control is, or a static text or icon, which takes no clicks.
    QWidget* child = childAt(event->pos());
    if ((m_dialog.Template().style & WS_SYSMENU) && (!child || qobject_cast<QLabel*>(child))) {
        PopUpSystemMenu(event->globalPos());
        event->accept();
        return;
    }
    event->ignore();
}

void DialogView::PopUpSystemMenu(const QPoint& globalPosition) {
    m_systemMenu->clear();
    for (const SystemMenuItem& item : m_dialog.SystemMenu()) {
        if (item.id == 0) {
            m_systemMenu->addSeparator();
            continue;
        }
        // The text's "&" marks the mnemonic and a tab starts the shortcut text, in Qt as in Windows.
        QAction* action = m_systemMenu->addAction(ToQString(item.text));
        action->setData(item.id);
        action->setEnabled(!item.grayed);
        const SystemMenuCheck check = m_dialog.SystemMenuCheckOf(item.id);
        action->setCheckable(check.checked);
        action->setChecked(check.checked);
        if (!check.tip.empty()) {
            action->setToolTip(ToQString(check.tip));
            m_systemMenu->setToolTipsVisible(true);
        }
    }
    m_systemMenu->popup(globalPosition);
}

void DialogView::SystemCommandChosen(UINT id) {
    if ((id & 0xFFF0) == SC_MOVE) {
        // Only the window manager can move a window on Linux desktops.
        if (QWindow* window = windowHandle())
            window->startSystemMove();
        return;
    }
    m_dialog.PostMessage(WM_SYSCOMMAND, id, 0);
}
