#include "app/MediaControls.h"
#include "app/PlayerApp.h"
#include "platform/mci/Mci.h"
#include "platform/mpris/MediaPlayerBus.h"
#include "platform/qt/QtProgram.h"
#include "platform/sys/CommandLine.h"
#include "platform/ui/MessageQueue.h"

#include <cstdio>

// The program plays the folder it was started in; a folder on the command line stands for that.
int main(int argc, char** argv) {
    const std::string program = "shufflon";
    CommandLine line =
        ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), program, SHUFFLON_VERSION);
    if (line.action != CommandLine::Action::Run) {
        std::fputs(line.message.c_str(), line.action == CommandLine::Action::Fail ? stderr : stdout);
        if (line.action == CommandLine::Action::Fail)
            std::fputc('\n', stderr);
        return line.exitCode;
    }
    if (!line.folder.empty()) {
        if (std::string error = EnterStartFolder(line.folder); !error.empty()) {
            std::fprintf(stderr, "%s: %s\n", program.c_str(), error.c_str());
            return 1;
        }
    }
    // Qt reads only its own options; the ones above are already taken out.
    int qtArguments = 1;
    return RunQtProgram(qtArguments, argv, [] {
        mci::SetNotifySink(&PostMessage);
        MediaPlayerBus bus(MainWindowMediaControls());
        CPlayerApp app;
        app.InitInstance();
        mci::Shutdown();
    });
}
