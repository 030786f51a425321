#include "app/MediaControls.h"

#include "res/Resource.h"

MainWindowControls MainWindowMediaControls() {
    MainWindowControls controls;
    controls.dialogId = IDD_MAIN;
    controls.play = IDC_PLAY;
    controls.next = IDC_NEXT;
    controls.pause = IDC_PAUSE;
    controls.status = IDC_STATUS;
    controls.songList = IDC_SONGLIST;
    controls.slider = IDC_SLIDER;
    controls.songName = IDC_SONGNAME;
    controls.trayId = IDC_TRAYICON;
    controls.trayMessage = WM_TRAYNOTIFY;
    controls.lyricsDialogId = IDD_LYRICS;
    controls.lyrics = IDC_LYRICS;
    controls.stopCaption = "Stop";
    controls.resumeCaption = "Resume";
    controls.playingStatus = "Playing";
    return controls;
}
