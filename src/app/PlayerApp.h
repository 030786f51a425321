#pragma once

#include "platform/WinTypes.h"

// The application object: it runs the main dialog modally, and the whole life of the program
// passes inside that run.
class CPlayerApp {
public:
    BOOL InitInstance();
};
