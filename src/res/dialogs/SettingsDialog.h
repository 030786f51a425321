#pragma once

#include "platform/ui/DialogTemplate.h"

// Template 130 (IDD_CONFIG): the settings dialog, 269 x 202 dialog units, its controls in tab order.
inline constexpr int IDC_CFG_SUBFOLDERS = 1019; // "Search folders recursively"
inline constexpr int IDC_CFG_AUTOPLAY = 1020;   // "Autoplay after end of search"
inline constexpr int IDC_CFG_INTRO = 1023;      // "Play only intro  (first"
inline constexpr int IDC_CFG_RANDOM = 1026;     // first of the play style radio group
inline constexpr int IDC_CFG_SEQUENTIAL = 1027;
inline constexpr int IDC_CFG_INTROLENGTH = 1028; // seconds of the intro
inline constexpr int IDC_CFG_SAVEFOLDER = 1031;
inline constexpr int IDC_CFG_BROWSESAVE = 1032;
inline constexpr int IDC_CFG_REPETITION = 1034; // "Allow song repetition"
inline constexpr int IDC_CFG_DELETEFOLDER = 1049;
inline constexpr int IDC_CFG_BROWSEDELETE = 1050;
inline constexpr int IDC_CFG_SCDISABLED = 1051; // first of the soundcard radio group
inline constexpr int IDC_CFG_SCATSTART = 1052;
inline constexpr int IDC_CFG_SCEACHFILE = 1053;
inline constexpr int IDC_CFG_SCINITFILE = 1054;
inline constexpr int IDC_CFG_BROWSESCFILE = 1055;
inline constexpr int IDC_CFG_RUNHIDDEN = 1056;  // "Start hidden"
inline constexpr int IDC_CFG_USETAGLIST = 1057; // "Use MIDI tag list"

extern const DialogTemplate kSettingsDialogTemplate;
