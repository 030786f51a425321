#pragma once

#include "platform/mpris/RemoteControls.h"

// What the desktop's media controls reach in the main window: the buttons and the slider they
// stand for, and the texts that tell the window's state.
MainWindowControls MainWindowMediaControls();
