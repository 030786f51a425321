#pragma once

// What assistive technologies are told of the views that Qt's own accessibility cannot tell apart
// from plain widgets: a dialog's window is a frame (a main window) or a dialog, a group box a
// named grouping, an icon static a picture, an owner-drawn button a button, a black rectangle a
// separator, the drawing layer an animation. Without it each is a nameless "filler".
//
// Installed for as long as an object of this class lives.
class AccessibleViews {
public:
    AccessibleViews();
    ~AccessibleViews();
    AccessibleViews(const AccessibleViews&) = delete;
    AccessibleViews& operator=(const AccessibleViews&) = delete;
};
