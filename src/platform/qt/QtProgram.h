#pragma once

#include <functional>

// Runs the program's body with a QApplication and the Qt backend in place, and returns the
// process's exit code. The body runs its own message loops; Qt's exec() is never entered.
int RunQtProgram(int argc, char** argv, const std::function<void()>& body);
