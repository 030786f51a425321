#pragma once

#include "platform/ui/DialogTemplate.h"

// The main window: 300 x 164 dialog units, its controls in tab order.
extern const DialogTemplate kMainDialogTemplate;
