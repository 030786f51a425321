#pragma once

#include "platform/ui/DialogTemplate.h"

// The About box: 261 x 114 dialog units, the big icon button, the version and credit lines, the
// machine's memory and the free disk space.
extern const DialogTemplate kAboutDialogTemplate;
// Its icon button, which CIconButton takes over.
extern const ControlTemplate& kAboutIconButtonTemplate;
