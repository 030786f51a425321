#include "platform/qt/ControlView.h"

#include "platform/qt/ButtonViews.h"
#include "platform/qt/DialogMetrics.h"
#include "platform/qt/EditView.h"
#include "platform/qt/ListView.h"
#include "platform/qt/OwnerDrawViews.h"
#include "platform/qt/StaticViews.h"
#include "platform/qt/TrackbarView.h"
#include "platform/ui/ListCtrl.h"
#include "platform/ui/SliderCtrl.h"

namespace {

ControlView* MakeView(CControl& control, const DialogMetrics& metrics, QWidget& parent, const QRect& rect) {
    switch (control.Kind()) {
    case ControlKind::PushButton:
        if ((control.Style() & 0xF) == BS_OWNERDRAW)
            return new OwnerDrawButtonView(static_cast<CButton&>(control), parent);
        return new PushButtonView(static_cast<CButton&>(control), parent);
    case ControlKind::CheckBox:
        return new CheckBoxView(static_cast<CButton&>(control), parent);
    case ControlKind::RadioButton:
        return new RadioButtonView(static_cast<CButton&>(control), parent);
    case ControlKind::GroupBox:
        return new GroupBoxView(control, parent, metrics.baseX + 1);
    case ControlKind::Static:
        if ((control.Style() & 0x1F) == SS_BLACKRECT)
            return new BlackRectView(control, parent);
        return new StaticTextView(control, parent, rect.height() >= 2 * metrics.baseY);
    case ControlKind::StaticIcon:
        return new StaticIconView(control, parent);
    case ControlKind::Edit:
        return new EditView(control, parent);
    case ControlKind::ListView:
        return new ListView(static_cast<CListCtrl&>(control), parent);
    case ControlKind::Trackbar:
        return new TrackbarView(static_cast<CSliderCtrl&>(control), parent);
    }
    return nullptr;
}

} // namespace

ControlView* CreateControlView(CControl& control, const DialogMetrics& metrics, QWidget& parent) {
    const ControlTemplate& tmpl = control.Template();
    QRect rect = metrics.Rect(tmpl.x, tmpl.y, tmpl.cx, tmpl.cy);
    // An icon static takes the size of its icon, whatever its rectangle says, as on Windows.
    if (control.Kind() == ControlKind::StaticIcon)
        rect.setSize(QSize(32, 32));
    ControlView* view = MakeView(control, metrics, parent, rect);
    if (!view)
        return nullptr;
    QWidget& widget = view->Widget();
    // A static text says its name with its text, which changes; see StaticTextView.
    if (tmpl.accessibleName && control.Kind() != ControlKind::Static)
        widget.setAccessibleName(QString::fromUtf8(tmpl.accessibleName));
    widget.setFont(metrics.font);
    widget.setGeometry(rect);
    SyncCommonState(widget, control);
    return view;
}

void SyncCommonState(QWidget& widget, const CControl& control) {
    if (widget.isEnabled() != control.IsWindowEnabled())
        widget.setEnabled(control.IsWindowEnabled());
    if (widget.isHidden() == control.IsWindowVisible())
        widget.setHidden(!control.IsWindowVisible());
}

Qt::FocusPolicy FocusPolicyFor(const CControl& control) {
    return (control.Style() & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus;
}
