#pragma once

#include "platform/ui/DialogTemplate.h"

// Template 141 (IDD_TAGWAIT): the small window shown while the tag list is read or written. Its
// one text is always set to what is being done before the window shows.
inline constexpr int IDC_TAGWAIT_TEXT = 1058;

extern const DialogTemplate kTagWaitTemplate;
