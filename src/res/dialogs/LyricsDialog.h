#pragma once

#include "platform/ui/DialogTemplate.h"

// Template 150 (IDD_LYRICS): the lyrics window, resizable, with one control that fills it and
// holds the words of the song playing.
extern const DialogTemplate kLyricsDialogTemplate;
