#include "platform/qt/TerminationWatch.h"

#include "platform/qt/QtBackend.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/MessageQueue.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

void Untouched(int) {}

// Lets Qt handle events until `done` or two seconds have passed.
template <class Done> void ProcessUntil(Done done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

TEST(TerminationWatchTest, EachEndingSignalEndsOnceOnTheGuiThreadAndTheOldHandlerComesBack) {
    for (int number : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(strsignal(number));
        struct sigaction untouched {
        }, before{}, after{};
        untouched.sa_handler = Untouched;
        sigaction(number, &untouched, &before);
        int ends = 0;
        {
            TerminationWatch watch([&] { ++ends; });
            raise(number);
            EXPECT_EQ(ends, 0); // nothing runs inside the handler
            ProcessUntil([&] { return ends > 0; });
            EXPECT_EQ(ends, 1);
            if (number == SIGINT) {
                // A second Ctrl+C ends the program at once.
                struct sigaction now {};
                sigaction(SIGINT, nullptr, &now);
                EXPECT_EQ(now.sa_handler, SIG_DFL);
            } else {
                raise(number);
                QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
                EXPECT_EQ(ends, 1);
            }
        }
        sigaction(number, &before, &after);
        if (number != SIGINT) {
            EXPECT_EQ(after.sa_handler, Untouched);
        }
    }
}

// Writes a mark into a file when the session's end reaches it, as the main window saves its state.
class EndingWindow : public CDialog {
public:
    EndingWindow(const DialogTemplate& tmpl, std::string mark) : CDialog(tmpl), m_mark(std::move(mark)) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_ENDSESSION && wParam)
            std::ofstream(m_mark) << "ended";
        return CDialog::WindowProc(message, wParam, lParam);
    }

private:
    std::string m_mark;
};

const DialogTemplate kAppWindow{1, "app", "MS Sans Serif", 8, 100, 50, WS_POPUP | WS_CAPTION, WS_EX_APPWINDOW,
                                {}};
const DialogTemplate kOtherWindow{2, "other", "MS Sans Serif", 8, 100, 50, WS_POPUP | WS_CAPTION, 0, {}};

TEST(TerminationWatchDeathTest, ASignalEndsTheProcessAfterTheApplicationWindowHandledTheEnd) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The child of a "threadsafe" death test runs this body anew: it finds the parent's name in
    // its environment.
    const char* given = std::getenv("TERMINATION_TEST_MARK");
    const std::string base =
        given
            ? given
            : (std::filesystem::temp_directory_path() / ("termination-" + std::to_string(getpid()))).string();
    setenv("TERMINATION_TEST_MARK", base.c_str(), 1);
    std::filesystem::remove(base + ".app");
    std::filesystem::remove(base + ".other");
    EXPECT_EXIT(
        {
            QtBackend backend;
            EndingWindow app(kAppWindow, base + ".app");
            EndingWindow other(kOtherWindow, base + ".other");
            app.Create();
            other.Create();
            TerminationWatch watch(EndSessionAndExit);
            raise(SIGTERM);
            // A loop that never ends by itself, as a box waiting for the user.
            RunModalLoop([] { return false; });
        },
        ::testing::ExitedWithCode(0), "");
    std::ifstream mark(base + ".app");
    std::string text;
    mark >> text;
    EXPECT_EQ(text, "ended");
    EXPECT_FALSE(std::filesystem::exists(base + ".other"));
    std::filesystem::remove(base + ".app");
}

} // namespace
