#include "platform/qt/Accessibility.h"

#include "platform/qt/DialogView.h"
#include "platform/qt/DrawingOverlay.h"
#include "platform/qt/OwnerDrawViews.h"
#include "platform/qt/StaticViews.h"
#include "platform/ui/Dialog.h"

#include <QAccessibleWidget>

namespace {

QAccessible::Role RoleOf(QWidget* widget) {
    if (auto* dialog = dynamic_cast<DialogView*>(widget))
        return (dialog->Dialog().Template().exStyle & WS_EX_APPWINDOW) ? QAccessible::Window
                                                                       : QAccessible::Dialog;
    if (dynamic_cast<GroupBoxView*>(widget))
        return QAccessible::Grouping;
    if (dynamic_cast<StaticIconView*>(widget))
        return QAccessible::Graphic;
    if (dynamic_cast<OwnerDrawButtonView*>(widget))
        return QAccessible::Button;
    if (dynamic_cast<BlackRectView*>(widget))
        return QAccessible::Separator;
    if (dynamic_cast<DrawingOverlay*>(widget))
        return QAccessible::Animation;
    return QAccessible::NoRole;
}

// Qt asks once for each class of the object, most derived first; the views have no meta-object of
// their own, so they are told apart by their type.
QAccessibleInterface* AccessibleViewFor(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    QAccessible::Role role = RoleOf(widget);
    return role == QAccessible::NoRole ? nullptr : new QAccessibleWidget(widget, role);
}

} // namespace

AccessibleViews::AccessibleViews() {
    QAccessible::installFactory(AccessibleViewFor);
}

AccessibleViews::~AccessibleViews() {
    QAccessible::removeFactory(AccessibleViewFor);
}
