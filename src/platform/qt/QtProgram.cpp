#include "platform/qt/QtProgram.h"

#include "platform/qt/QtBackend.h"

#include <QApplication>

int RunQtProgram(int argc, char** argv, const std::function<void()>& body) {
    // Qt keeps a reference to the argument count for the application's whole life.
    int arguments = argc;
    QApplication application(arguments, argv);
    QtBackend backend;
    body();
    return 0;
}
