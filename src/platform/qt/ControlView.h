#pragma once

#include "platform/ui/Backend.h"
#include "platform/ui/Control.h"

#include <Qt>

class QWidget;
struct DialogMetrics;

// The widget that shows one control. The control keeps the state; the view mirrors what changed
// and turns the user's input into calls on the control and messages for its dialog.
class ControlView {
public:
    ControlView() = default;
    ControlView(const ControlView&) = delete;
    ControlView& operator=(const ControlView&) = delete;
    virtual ~ControlView() = default;

    virtual QWidget& Widget() = 0;
    virtual void Sync(ControlChange change, int row) = 0;
};

// Makes the view of a control as a child of the dialog's widget, placed by its template. The
// parent owns the widget.
ControlView* CreateControlView(CControl& control, const DialogMetrics& metrics, QWidget& parent);

// Enabled and visible, which every view mirrors the same way.
void SyncCommonState(QWidget& widget, const CControl& control);

// Controls with a tab stop take the focus by Tab and by click; others that can have the focus
// take it only by click.
Qt::FocusPolicy FocusPolicyFor(const CControl& control);
