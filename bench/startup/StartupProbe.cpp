// Starts a program and tells how long its window took to become visible, and how much memory the
// process holds then: what a user waits for at start-up, measured from outside as the user sees it.
//
// The window counts as visible at the first drawing into it after it is mapped (the X DAMAGE
// extension reports it), so the time includes the first paint, not just the mapping. The program
// is then left alone for a moment so that it finishes what the first paint started, its resident
// size is read, and it is ended with SIGTERM.
//
// Usage: startup_probe [--title TITLE] [--settle MS] [--timeout S] -- PROGRAM [ARGS...]
// Prints one line: "window_ms=<milliseconds> rss_kib=<resident KiB> cpu_ms=<CPU time of the
// process until the window was visible>"; exits non-zero when the
// window did not appear in time or the program ended first.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// User and system time of the process so far, all threads, in milliseconds.
double CpuMs(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // The fields after the command name, which may hold blanks, start behind its ')'.
    std::size_t close = text.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::vector<std::string> fields;
    std::size_t at = close + 2;
    while (at < text.size()) {
        std::size_t end = text.find(' ', at);
        fields.push_back(text.substr(at, end - at));
        at = end == std::string::npos ? text.size() : end + 1;
    }
    // utime and stime are fields 14 and 15 of the whole line, 12 and 13 after the name.
    if (fields.size() < 13)
        return -1;
    double ticks = std::atof(fields[11].c_str()) + std::atof(fields[12].c_str());
    return ticks * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

long RssKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

// Windows come and go while a program starts; a request about one already gone is no failure.
int IgnoreXErrors(Display*, XErrorEvent*) {
    return 0;
}

bool HasTitle(Display* display, Window window, const std::string& title) {
    char* name = nullptr;
    bool equal = XFetchName(display, window, &name) && name && title == name;
    if (name)
        XFree(name);
    return equal;
}

} // namespace

int main(int argc, char** argv) {
    std::string title = "Shufflon";
    int settleMs = 500;
    double timeout = 60;
    int first = 1;
    for (; first < argc; ++first) {
        std::string arg = argv[first];
        if (arg == "--") {
            ++first;
            break;
        }
        if (first + 1 >= argc)
            break;
        if (arg == "--title")
            title = argv[++first];
        else if (arg == "--settle")
            settleMs = std::atoi(argv[++first]);
        else if (arg == "--timeout")
            timeout = std::atof(argv[++first]);
    }
    if (first >= argc) {
        std::fprintf(stderr,
                     "usage: startup_probe [--title T] [--settle MS] [--timeout S] -- PROGRAM [ARGS...]\n");
        return 2;
    }

    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "startup_probe: cannot open the display\n");
        return 2;
    }
    XSetErrorHandler(IgnoreXErrors);
    int damageEvent = 0, damageError = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError)) {
        std::fprintf(stderr, "startup_probe: the X server has no DAMAGE extension\n");
        return 2;
    }
    Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    double start = Now();
    pid_t child = fork();
    if (child == 0) {
        execvp(argv[first], argv + first);
        std::perror(argv[first]);
        _exit(127);
    }

    // Every top-level window gets a damage record as it is made, so that the first drawing into
    // the one that turns out to be the program's window is not missed.
    Window shown = 0;
    double visibleAt = 0;
    double cpuMs = 0;
    int fd = ConnectionNumber(display);
    while (visibleAt == 0) {
        if (Now() - start > timeout) {
            std::fprintf(stderr, "startup_probe: no visible window \"%s\" after %.0f s\n", title.c_str(),
                         timeout);
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
            return 1;
        }
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            std::fprintf(stderr, "startup_probe: the program ended before its window appeared\n");
            return 1;
        }
        if (!XPending(display)) {
            pollfd wait{fd, POLLIN, 0};
            poll(&wait, 1, 100);
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == CreateNotify) {
            XDamageCreate(display, event.xcreatewindow.window, XDamageReportNonEmpty);
        } else if (event.type == MapNotify && !shown) {
            if (HasTitle(display, event.xmap.window, title))
                shown = event.xmap.window;
        } else if (event.type == damageEvent + XDamageNotify) {
            const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
            if (shown && damage.drawable == shown) {
                visibleAt = Now();
                cpuMs = CpuMs(child);
            }
        }
    }

    std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
    long rss = RssKiB(child);
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    XCloseDisplay(display);
    std::printf("window_ms=%.1f rss_kib=%ld cpu_ms=%.0f\n", (visibleAt - start) * 1e3, rss, cpuMs);
    return 0;
}
