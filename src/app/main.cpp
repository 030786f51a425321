#include "app/PlayerApp.h"
#include "platform/mci/Mci.h"
#include "platform/qt/QtProgram.h"
#include "platform/ui/MessageQueue.h"

// The program reads no command line: it plays the folder it was started in.
int main(int argc, char** argv) {
    return RunQtProgram(argc, argv, [] {
        mci::SetNotifySink(&PostMessage);
        CPlayerApp app;
        app.InitInstance();
        mci::Shutdown();
    });
}
