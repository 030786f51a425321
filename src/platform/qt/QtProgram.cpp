#include "platform/qt/QtProgram.h"

#include "platform/qt/QtBackend.h"
#include "platform/qt/TerminationWatch.h"

#include <QApplication>

int RunQtProgram(int argc, char** argv, const std::function<void()>& body) {
    // Qt keeps a reference to the argument count for the application's whole life.
    int arguments = argc;
    QApplication application(arguments, argv);
    QtBackend backend;
    TerminationWatch termination(EndSessionAndExit);
    body();
    return 0;
}
