#include "app/MediaControls.h"
#include "app/PlayerApp.h"
#include "platform/mci/Mci.h"
#include "platform/mpris/MediaPlayerBus.h"
#include "platform/qt/QtProgram.h"
#include "platform/session/SessionInstance.h"
#include "platform/sys/CommandLine.h"
#include "platform/sys/OpenRequests.h"
#include "platform/ui/MessageQueue.h"
#include "res/Resource.h"

#include <cstdio>

// The program plays the folder it was started in; a folder on the command line stands for that,
// and a song stands for its folder with the song played first. When the session has a Shufflon
// already, that one plays what this start names.
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
    StartPlace place;
    if (!line.path.empty()) {
        place = ResolveStartPlace(line.path);
        if (place.error.empty())
            place.error = EnterStartFolder(place.folder);
        if (!place.error.empty()) {
            std::fprintf(stderr, "%s: %s\n", program.c_str(), place.error.c_str());
            return 1;
        }
    }
    // Qt reads only its own options; the ones above are already taken out.
    int qtArguments = 1;
    return RunQtProgram(qtArguments, argv, [&] {
        SessionInstance session(QStringLiteral(SHUFFLON_APP_ID), IDD_MAIN, WM_OPENREQUEST);
        // --new-instance never hands over, but the first Shufflon of a session owns the name.
        if (!session.Claim() && !line.newInstance &&
            session.HandOver(place.song.empty() ? place.folder : place.song))
            return;
        if (!place.song.empty())
            RequestOpen(place.song);
        mci::SetNotifySink(&PostMessage);
        MediaPlayerBus bus(MainWindowMediaControls());
        CPlayerApp app;
        app.InitInstance();
        mci::Shutdown();
    });
}
