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
    // The window that shows the song's words, and its control whose text they are.
    int lyricsDialogId = 0;
    int lyrics = 0;
    std::string stopCaption;   // the Play button's caption during a play run
    std::string resumeCaption; // the Pause button's caption while paused
    std::string playingStatus; // the status text while the device plays
};

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
    bool canSeek = false;

    bool operator==(const PlayerView&) const = default;
};

// Reads the window's controls. `inputBlocked` says that a modal box or dialog keeps the user
// from the window's controls at this moment, so none of them can be used.
PlayerView ReadPlayerView(const CDialog& window, const MainWindowControls& ids, bool inputBlocked);

enum class RemoteCommand { Play, Pause, PlayPause, Stop, Next, Raise, Quit };

// Posts the message the matching control posts, so the window's own handlers decide what
// happens: a button's click, the tray icon's left click (play or pause, whatever the buttons
// say) or right click (show the window), or the window's close. A command whose button is
// disabled, or that the window's state does not offer, posts nothing and returns false.
bool PostRemoteCommand(CDialog& window, const MainWindowControls& ids, RemoteCommand command,
                       bool inputBlocked);

// Moves the slider's thumb to `seconds` and releases it there, as the user's drag does. Only
// while a song plays; returns false when nothing was posted.
bool PostSeekTo(CDialog& window, const MainWindowControls& ids, long long seconds, bool inputBlocked);
