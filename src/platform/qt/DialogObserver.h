#pragma once

class CDialog;
class CControl;

// Listens beside the windows to what the program shows in them (the desktop's media controls
// read the main window this way). Calls come on the GUI thread, after the control has changed.
class DialogObserver {
public:
    virtual ~DialogObserver() = default;
    virtual void ControlChanged(CDialog& dialog, CControl& control) = 0;
    virtual void DialogDestroyed(CDialog& dialog) = 0;
};
