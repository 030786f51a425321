#pragma once

// Resource ids of the program: dialog templates, controls, icons, strings, timers.

// Dialog templates.
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_MAIN = 102;
inline constexpr int IDD_CONFIG = 130;
inline constexpr int IDD_TAGWAIT = 141;
inline constexpr int IDD_SEARCHPROGRESS = 142;

// Icons.
inline constexpr int IDI_HEADPHONES = 128;
inline constexpr int IDI_IDLE = 140;
inline constexpr int IDI_PLAYED = 142;
inline constexpr int IDI_UNPLAYED = 143;
// The About box's animation: six frames of a dog running to the left, and a seventh never shown.
inline constexpr int IDI_DOG_FIRST = 133;
inline constexpr int IDI_DOG_LAST = 139;

// The About box's sound, a WAVE resource.
inline constexpr int IDR_DOGSOUND = 129;

// Strings.
inline constexpr int IDS_ABOUTBOX = 101;
inline constexpr int IDS_MEMORY = 104;
inline constexpr int IDS_DISKFREE = 105;
inline constexpr int IDS_UNAVAILABLE = 106;

// The system menu's About command.
inline constexpr unsigned IDM_ABOUTBOX = 0x0010;
// The system menu's SoundFont commands, after About.
inline constexpr unsigned IDM_SOUNDFONT = 0x0020;
inline constexpr unsigned IDM_DEFAULTSOUNDFONT = 0x0030;
// Posted by the sequencer device when a SoundFont asked for has loaded (wParam 1) or was refused
// (wParam 0, lParam the reason). WM_APP + 0x70.
inline constexpr unsigned WM_SOUNDFONTLOADED = 0x8070;
// Posted when another start of the program has handed this one a folder or a song to play (or
// only asked for the window): the request waits in TakeOpenRequest. WM_APP + 0x71.
inline constexpr unsigned WM_OPENREQUEST = 0x8071;
// What the desktop's media controls ask of the player beyond the window's controls: the play
// style, the volume, the way back (the PLAYER_* codes in wParam). WM_APP + 0x72.
inline constexpr unsigned WM_PLAYERCONTROL = 0x8072;

// Controls of the main dialog.
inline constexpr int IDC_PLAY = 1000;
inline constexpr int IDC_NEXT = 1001;
inline constexpr int IDC_PAUSE = 1003;
inline constexpr int IDC_STATUS = 1004;
inline constexpr int IDC_SONGLIST = 1007;
inline constexpr int IDC_BROWSE = 1009;
inline constexpr int IDC_FOLDER = 1012;
inline constexpr int IDC_SONGCOUNT = 1014;
inline constexpr int IDC_SONGSIZE = 1015;
inline constexpr int IDC_CONFIG = 1017;
inline constexpr int IDC_SAVESONG = 1018;
inline constexpr int IDC_LENGTH = 1021;
inline constexpr int IDC_ELAPSED = 1022;
inline constexpr int IDC_SCALESTART = 1033;
inline constexpr int IDC_SLIDER = 1042;
inline constexpr int IDC_DELETESONG = 1043;
inline constexpr int IDC_HIDE = 1044;
inline constexpr int IDC_ABOUT = 1045;
inline constexpr int IDC_SONGNAME = 1047;
inline constexpr int IDC_SONGFOLDER = 1048;
inline constexpr int IDC_PLAYEDCOUNT = 1060;

// Controls of the About box.
inline constexpr int IDC_PHYSMEM = 101;
inline constexpr int IDC_DISKSPACE = 107;
inline constexpr int IDC_ABOUTICON = 1008;

// The tray icon and the main dialog's timers.
inline constexpr unsigned IDC_TRAYICON = 1010;
inline constexpr unsigned IDT_PROGRESS = 1234;
inline constexpr unsigned IDT_STARTUP = 555;
