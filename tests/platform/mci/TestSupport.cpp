#include "TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <utility>

#include "SmfBuilder.h"
#include "platform/mci/Mci.h"

namespace mcitest {

namespace {
std::mutex g_mutex;
std::vector<Notice> g_notices;
} // namespace

std::string Err(MCIERROR code) {
    if (code == 0)
        return "0 (no error)";
    const char* name = mci::ErrorName(code);
    return std::string(name ? name : "unknown MCI error") + " (" + std::to_string(code) + ")";
}

std::string NoticeName(UINT code) {
    switch (code) {
    case MCI_NOTIFY_SUCCESSFUL:
        return "SUCCESSFUL";
    case MCI_NOTIFY_SUPERSEDED:
        return "SUPERSEDED";
    case MCI_NOTIFY_ABORTED:
        return "ABORTED";
    case MCI_NOTIFY_FAILURE:
        return "FAILURE";
    default:
        return "notice " + std::to_string(code);
    }
}

std::ostream& operator<<(std::ostream& out, const Notice& notice) {
    return out << "{window " << notice.window << ", " << NoticeName(notice.code) << ", device "
               << notice.device << "}";
}

void RecordNotice(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != MM_MCINOTIFY)
        return;
    std::lock_guard<std::mutex> lock(g_mutex);
    g_notices.push_back(Notice{window, static_cast<UINT>(wParam), static_cast<MCIDEVICEID>(lParam)});
}

std::vector<Notice> TakeNotices() {
    std::lock_guard<std::mutex> lock(g_mutex);
    return std::exchange(g_notices, {});
}

TempDir::TempDir() {
    char pattern[] = "/tmp/shufflon-mci-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    m_path = made ? made : "/tmp";
}

TempDir::~TempDir() {
    std::error_code ignored;
    if (m_path != "/tmp")
        std::filesystem::remove_all(m_path, ignored);
}

void WriteStandardSong(const std::string& path) {
    SmfBuilder smf(1, 480);
    const int tempo = smf.AddTrack();
    smf.Add(tempo, 0, Tempo(500000)).Add(tempo, 960, Tempo(250000));
    const int music = smf.AddTrack();
    smf.Add(music, 0, Program(0, 5)).Add(music, 0, Control(0, 7, 100)).Add(music, 0, Control(0, 10, 30));
    for (int i = 0; i < 5; ++i) {
        smf.Add(music, 480u * i, NoteOn(0, 60 + i, 100));
        smf.Add(music, 480u * i + 479, NoteOff(0, 60 + i));
    }
    smf.EndAt(music, 2400);
    smf.WriteTo(path);
}

} // namespace mcitest
