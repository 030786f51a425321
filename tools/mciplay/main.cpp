// mciplay [--seek MS] [--for MS] [--wait] [--soundfont SF] [--driver NAME] FILE...
//
// A developer's tool: plays MIDI files one after another through the live sequencer device with
// the same MCI commands the player uses (open, port check, seek, play with notify, status,
// close), and says what the device answered. --for stops each song after that many milliseconds
// of waiting; --seek starts it there; --wait plays with MCI_WAIT instead of a notice. The sound check script
// plays through it.

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "platform/mci/Mci.h"

namespace {

constexpr HWND kWindow = 1;

std::mutex g_mutex;
std::condition_variable g_notified;
std::vector<UINT> g_notices;

void OnNotice(HWND window, UINT message, WPARAM wParam, LPARAM) {
    if (window != kWindow || message != MM_MCINOTIFY)
        return;
    std::lock_guard<std::mutex> lock(g_mutex);
    g_notices.push_back(static_cast<UINT>(wParam));
    g_notified.notify_all();
}

const char* NoticeName(UINT code) {
    switch (code) {
    case MCI_NOTIFY_SUCCESSFUL:
        return "successful";
    case MCI_NOTIFY_SUPERSEDED:
        return "superseded";
    case MCI_NOTIFY_ABORTED:
        return "aborted";
    default:
        return "failure";
    }
}

bool Report(const std::string& file, const char* step, MCIERROR code) {
    if (code == 0)
        return true;
    char text[128];
    mciGetErrorString(code, text, sizeof text);
    const char* name = mci::ErrorName(code);
    std::printf("%s: %s failed: %s (%s)\n", file.c_str(), step, text, name ? name : "?");
    return false;
}

DWORD_PTR Status(MCIDEVICEID id, DWORD item) {
    MCI_STATUS_PARMS status;
    status.dwItem = item;
    return mciSendCommand(id, MCI_STATUS, MCI_STATUS_ITEM, &status) == 0 ? status.dwReturn : 0;
}

bool PlayOne(const std::string& file, long seekMs, long forMs, bool wait) {
    MCI_OPEN_PARMS open;
    open.lpstrDeviceType = "sequencer";
    open.lpstrElementName = file.c_str();
    if (!Report(file, "open", mciSendCommand(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, &open)))
        return false;
    const MCIDEVICEID id = open.wDeviceID;
    const DWORD_PTR port = Status(id, MCI_SEQ_STATUS_PORT);
    const DWORD_PTR length = Status(id, MCI_STATUS_LENGTH);
    bool ok = true;
    if (seekMs >= 0) {
        MCI_SEEK_PARMS seek;
        seek.dwTo = static_cast<DWORD>(seekMs);
        ok = Report(file, "seek", mciSendCommand(id, MCI_SEEK, MCI_WAIT | MCI_TO, &seek));
    }
    std::printf("%s: device %u, port 0x%lx, length %lu ms, playing from %lu ms\n", file.c_str(), id,
                static_cast<unsigned long>(port), static_cast<unsigned long>(length),
                static_cast<unsigned long>(Status(id, MCI_STATUS_POSITION)));
    std::fflush(stdout);
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_notices.clear();
    }
    MCI_PLAY_PARMS play;
    play.dwCallback = kWindow;
    if (wait) {
        ok = ok && Report(file, "play", mciSendCommand(id, MCI_PLAY, MCI_WAIT, &play));
        std::printf("%s: waited, mode %lu, position %lu ms\n", file.c_str(),
                    static_cast<unsigned long>(Status(id, MCI_STATUS_MODE)),
                    static_cast<unsigned long>(Status(id, MCI_STATUS_POSITION)));
    } else {
        ok = ok && Report(file, "play", mciSendCommand(id, MCI_PLAY, MCI_NOTIFY, &play));
    }
    if (ok && !wait) {
        std::unique_lock<std::mutex> lock(g_mutex);
        const auto limit = forMs >= 0 ? std::chrono::milliseconds(forMs) : std::chrono::hours(24);
        if (!g_notified.wait_for(lock, limit, [] { return !g_notices.empty(); })) {
            lock.unlock();
            std::printf("%s: stopping at %lu ms\n", file.c_str(),
                        static_cast<unsigned long>(Status(id, MCI_STATUS_POSITION)));
            mciSendCommand(id, MCI_STOP, 0, nullptr);
            lock.lock();
            g_notified.wait_for(lock, std::chrono::seconds(1), [] { return !g_notices.empty(); });
        }
        const char* how = g_notices.empty() ? "no notice" : NoticeName(g_notices.front());
        lock.unlock();
        std::printf("%s: %s, mode %lu, position %lu ms\n", file.c_str(), how,
                    static_cast<unsigned long>(Status(id, MCI_STATUS_MODE)),
                    static_cast<unsigned long>(Status(id, MCI_STATUS_POSITION)));
    }
    mciSendCommand(id, MCI_CLOSE, 0, nullptr);
    return ok;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: mciplay [--seek MS] [--for MS] [--wait] [--soundfont SF] [--driver NAME] FILE...\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    long seekMs = -1, forMs = -1;
    bool wait = false;
    mci::LiveOptions options;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--seek" && i + 1 < argc)
            seekMs = std::strtol(argv[++i], nullptr, 10);
        else if (arg == "--for" && i + 1 < argc)
            forMs = std::strtol(argv[++i], nullptr, 10);
        else if (arg == "--wait")
            wait = true;
        else if (arg == "--soundfont" && i + 1 < argc)
            options.soundFonts.push_back(argv[++i]);
        else if (arg == "--driver" && i + 1 < argc)
            options.audioDrivers.push_back(argv[++i]);
        else if (arg.starts_with("--"))
            return Usage();
        else
            files.push_back(arg);
    }
    if (files.empty())
        return Usage();
    mci::SetNotifySink(OnNotice);
    mci::UseLiveOutput(options);
    bool ok = true;
    for (const std::string& file : files)
        ok = PlayOne(file, seekMs, forMs, wait) && ok;
    mci::Shutdown();
    return ok ? 0 : 1;
}
