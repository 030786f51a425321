#pragma once

#include "platform/WinTypes.h"

#include <string>

class CDialog;

// The controls of the main window that the desktop's media controls stand for, and the texts by
// which the window tells its state. The application fills it in; this layer knows no resource ids.
struct MainWindowControls {
    int dialogId = 0;
    int play = 0;     // Play/Stop button
    int next = 0;     // Next button
    int pause = 0;    // Pause/Resume button
    int status = 0;   // the device's mode as text
    int songList = 0; // rows of file name (column 0) and folder (column 1)
    int slider = 0;   // elapsed seconds, range 0 .. length in seconds
    int songName = 0; // the current song's file name
    UINT trayId = 0;
    UINT trayMessage = 0;
    UINT playerMessage = 0;    // the window's message for the PLAYER_* codes below
    std::string stopCaption;   // the Play button's caption during a play run
    std::string resumeCaption; // the Pause button's caption while paused
    std::string playingStatus; // the status text while the device plays
};

// What the window's player message does, by its wParam. The questions are sent and answered at
// once; the requests are posted, so the window's own handlers run them in turn.
inline constexpr WPARAM PLAYER_GETSHUFFLE = 1; // answers 1 when songs play in random order
inline constexpr WPARAM PLAYER_SETSHUFFLE = 2; // lParam 1: random order, 0: list order
inline constexpr WPARAM PLAYER_GETVOLUME = 3;  // answers the volume in percent
inline constexpr WPARAM PLAYER_SETVOLUME = 4;  // lParam: the volume in percent, 0 to 100
inline constexpr WPARAM PLAYER_CANGOBACK = 5;  // answers 1 when Previous has a song to play
inline constexpr WPARAM PLAYER_PREVIOUS = 6;   // the song played before this one

enum class PlaybackState { Stopped, Playing, Paused };

// The player as the window shows it.
struct PlayerView {
    PlaybackState state = PlaybackState::Stopped;
    std::string title;       // the song name shown, empty for none
    std::string path;        // the shown song's file, empty when the list does not tell it
    int lengthSeconds = 0;   // the slider's range while a song is shown
    int positionSeconds = 0; // the slider's position
    bool canPlay = false;
    bool canPause = false;
    bool canGoNext = false;
    bool canGoPrevious = false;
    bool canSeek = false;
    bool shuffle = false;
    int volumePercent = 100;

    bool operator==(const PlayerView&) const = default;
};

// Reads the window's controls, and asks the window what they do not show. `inputBlocked` says
// that a modal box or dialog keeps the user from the window's controls at this moment: then only
// what the tray icon's left click does (play, pause or resume) can be done.
PlayerView ReadPlayerView(CDialog& window, const MainWindowControls& ids, bool inputBlocked);

enum class RemoteCommand { Play, Pause, PlayPause, Stop, Next, Previous, Raise, Quit };

// Posts the message the matching control posts, so the window's own handlers decide what
// happens: a button's click, the tray icon's left click (play or pause, whatever the buttons
// say) or right click (show the window), the window's close, or the player message for what has
// no control. A command whose button is disabled, or that the window's state does not offer,
// posts nothing and returns false. While the window is blocked, Play, Pause and PlayPause go
// through the tray icon's left click, which a box does not block.
bool PostRemoteCommand(CDialog& window, const MainWindowControls& ids, RemoteCommand command,
                       bool inputBlocked);

// Moves the slider's thumb to `seconds` and releases it there, as the user's drag does. Only
// while a song plays; returns false when nothing was posted.
bool PostSeekTo(CDialog& window, const MainWindowControls& ids, long long seconds, bool inputBlocked);

// Asks the window to play in random order (true) or in list order, or at the volume in percent.
void PostShuffle(CDialog& window, const MainWindowControls& ids, bool shuffle);
void PostVolume(CDialog& window, const MainWindowControls& ids, int percent);
