#include "platform/mpris/RemoteControls.h"

#include "platform/ui/Dialog.h"
#include "platform/ui/ListCtrl.h"
#include "platform/ui/MessageQueue.h"
#include "platform/ui/SliderCtrl.h"

#include <algorithm>

namespace {

bool Usable(const CDialog& window, int id) {
    const CControl* control = window.GetDlgItem(id);
    return control && control->IsWindowEnabled() && control->IsWindowVisible();
}

std::string Caption(const CDialog& window, int id) {
    const CControl* control = window.GetDlgItem(id);
    return control ? control->GetWindowText() : std::string();
}

bool Paused(const CDialog& window, const MainWindowControls& ids) {
    return Usable(window, ids.pause) && Caption(window, ids.pause) == ids.resumeCaption;
}

// A play run shows "Stop" on the Play button, even between two songs; a song started by a double
// click plays outside a run, and then only the status and the Pause button tell it.
bool Playing(const CDialog& window, const MainWindowControls& ids) {
    if (Paused(window, ids))
        return false;
    if (Caption(window, ids.play) == ids.stopCaption)
        return true;
    return Usable(window, ids.pause) && Caption(window, ids.status) == ids.playingStatus;
}

// The file of the shown song: playing a song focuses its row, so the focused row names it unless
// the user has moved the focus since.
std::string ShownSongPath(const CDialog& window, const MainWindowControls& ids, const std::string& title) {
    const CControl* control = window.GetDlgItem(ids.songList);
    if (!control || control->Kind() != ControlKind::ListView || title.empty())
        return {};
    const auto& list = static_cast<const CListCtrl&>(*control);
    int row = list.GetNextItem(-1, LVNI_FOCUSED);
    if (row < 0 || list.GetItemText(row, 0) != title)
        return {};
    return list.GetItemText(row, 1) + list.GetItemText(row, 0);
}

CSliderCtrl* Slider(const CDialog& window, const MainWindowControls& ids) {
    CControl* control = window.GetDlgItem(ids.slider);
    return control && control->Kind() == ControlKind::Trackbar ? static_cast<CSliderCtrl*>(control) : nullptr;
}

void Click(CDialog& window, int id) {
    window.PostMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), 0);
}

void ClickIfUsable(CDialog& window, int id, bool& posted) {
    if (Usable(window, id)) {
        Click(window, id);
        posted = true;
    }
}

} // namespace

PlayerView ReadPlayerView(CDialog& window, const MainWindowControls& ids, bool inputBlocked) {
    PlayerView view;
    view.state = Paused(window, ids)    ? PlaybackState::Paused
                 : Playing(window, ids) ? PlaybackState::Playing
                                        : PlaybackState::Stopped;
    view.title = Caption(window, ids.songName);
    view.path = ShownSongPath(window, ids, view.title);
    if (const CSliderCtrl* slider = Slider(window, ids); slider && !view.title.empty()) {
        view.lengthSeconds = std::max(slider->GetRangeMax(), 0);
        view.positionSeconds = std::clamp(slider->GetPos(), 0, view.lengthSeconds);
    }
    // MPRIS asks these of the song, not of the moment: a playing song can be played, a paused one
    // paused.
    if (!inputBlocked) {
        view.canPlay = view.state != PlaybackState::Stopped || Usable(window, ids.play);
        view.canPause = view.state != PlaybackState::Stopped && Usable(window, ids.pause);
        view.canGoNext = Usable(window, ids.next);
        view.canGoPrevious = view.canGoNext && window.SendMessage(ids.playerMessage, PLAYER_CANGOBACK) != 0;
        view.canSeek =
            view.state == PlaybackState::Playing && Usable(window, ids.slider) && !view.title.empty();
    } else {
        // What is left is the tray icon's left click, which no box blocks: during a play run it
        // pauses and resumes, outside one it starts a run.
        const bool run = Caption(window, ids.play) == ids.stopCaption;
        view.canPlay = view.state == PlaybackState::Playing || (run && view.state == PlaybackState::Paused) ||
                       (!run && Usable(window, ids.play));
        view.canPause = run && view.state != PlaybackState::Stopped;
    }
    view.shuffle = window.SendMessage(ids.playerMessage, PLAYER_GETSHUFFLE) != 0;
    view.volumePercent = static_cast<int>(window.SendMessage(ids.playerMessage, PLAYER_GETVOLUME));
    return view;
}

bool PostRemoteCommand(CDialog& window, const MainWindowControls& ids, RemoteCommand command,
                       bool inputBlocked) {
    HWND hwnd = window.GetSafeHwnd();
    // The tray icon is outside the window, so a box that blocks the window does not block it.
    auto trayClick = [&](UINT mouse) {
        PostMessage(hwnd, ids.trayMessage, ids.trayId, static_cast<LPARAM>(mouse));
        return true;
    };
    const PlayerView view = ReadPlayerView(window, ids, inputBlocked);
    const PlaybackState state = view.state;
    switch (command) {
    case RemoteCommand::PlayPause:
        return trayClick(WM_LBUTTONDOWN);
    case RemoteCommand::Raise:
        return trayClick(WM_RBUTTONDOWN);
    default:
        break;
    }
    if (inputBlocked) {
        if ((command == RemoteCommand::Play && state != PlaybackState::Playing && view.canPlay) ||
            (command == RemoteCommand::Pause && state == PlaybackState::Playing && view.canPause))
            return trayClick(WM_LBUTTONDOWN);
        return false;
    }
    bool posted = false;
    switch (command) {
    case RemoteCommand::Play:
        if (state == PlaybackState::Paused)
            ClickIfUsable(window, ids.pause, posted);
        // Between two songs of a run nothing plays, but Play reads Stop.
        else if (state == PlaybackState::Stopped && Caption(window, ids.play) != ids.stopCaption)
            ClickIfUsable(window, ids.play, posted);
        break;
    case RemoteCommand::Pause:
        if (state == PlaybackState::Playing)
            ClickIfUsable(window, ids.pause, posted);
        break;
    case RemoteCommand::Stop:
        if (Caption(window, ids.play) == ids.stopCaption)
            ClickIfUsable(window, ids.play, posted);
        break;
    case RemoteCommand::Next:
        ClickIfUsable(window, ids.next, posted);
        break;
    case RemoteCommand::Previous:
        if (view.canGoPrevious) {
            window.PostMessage(ids.playerMessage, PLAYER_PREVIOUS);
            posted = true;
        }
        break;
    case RemoteCommand::Quit:
        window.PostMessage(WM_CLOSE);
        posted = true;
        break;
    default:
        break;
    }
    return posted;
}

bool PostSeekTo(CDialog& window, const MainWindowControls& ids, long long seconds, bool inputBlocked) {
    if (!ReadPlayerView(window, ids, inputBlocked).canSeek)
        return false;
    CSliderCtrl& slider = *Slider(window, ids);
    slider.PositionSetByUser(static_cast<int>(std::clamp<long long>(seconds, 0, slider.GetRangeMax())));
    // A released thumb reports its place and then the end of the move, as the slider's view does.
    WORD position = static_cast<WORD>(std::clamp(slider.GetPos(), 0, 0xFFFF));
    window.PostMessage(WM_HSCROLL, MAKEWPARAM(static_cast<WORD>(TB_THUMBPOSITION), position),
                       static_cast<LPARAM>(ids.slider));
    window.PostMessage(WM_HSCROLL, MAKEWPARAM(static_cast<WORD>(TB_ENDTRACK), 0),
                       static_cast<LPARAM>(ids.slider));
    return true;
}

void PostShuffle(CDialog& window, const MainWindowControls& ids, bool shuffle) {
    window.PostMessage(ids.playerMessage, PLAYER_SETSHUFFLE, shuffle ? 1 : 0);
}

void PostVolume(CDialog& window, const MainWindowControls& ids, int percent) {
    window.PostMessage(ids.playerMessage, PLAYER_SETVOLUME, std::clamp(percent, 0, 100));
}
