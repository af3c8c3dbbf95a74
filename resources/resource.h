#pragma once
// Identifiers of Quavera.exe's resources. Dialog, control and command numbers
// are fixed: other programs and the settings sheet post some of them.

// Dialog templates.
#define IDD_PLAYER_LARGE 102
#define IDD_PROGRESS 180
#define IDD_URL 114

// Icons, menus, accelerators.
#define IDI_QUAVERA 128
#define IDR_CONTEXT_MENU 129
#define IDR_ACCELERATORS 130
#define IDR_TRACK_MENU 131

// Button bitmaps and the five volume pictures (quiet to loud).
#define IDB_OPEN 140
#define IDB_URL 141
#define IDB_PLAYLIST 142
#define IDB_RANDOM 143
#define IDB_ENDLESS 144
#define IDB_PROPERTIES 145
#define IDB_EXIT 146
#define IDB_PREVIOUS 147
#define IDB_REWIND 148
#define IDB_PAUSE 149
#define IDB_PLAY 150
#define IDB_STOP 151
#define IDB_FORWARD 152
#define IDB_NEXT 153
#define IDB_VOLUME0 160
#define IDB_VOLUME1 161
#define IDB_VOLUME2 162
#define IDB_VOLUME3 163
#define IDB_VOLUME4 164

// Controls of the main dialog; the button and menu ids are also its commands.
#define IDC_EXIT 8
#define IDC_POSITION 1000
#define IDC_PREVIOUS 1001
#define IDC_STOP 1002
#define IDC_PLAY 1003
#define IDC_PAUSE 1004
#define IDC_FORWARD 1005
#define IDC_NEXT 1006
#define IDC_OPEN 1007
#define IDC_VOLUME 1008
#define IDC_REWIND 1009
#define IDC_ELAPSED_MODE 1010
#define IDC_REMAINING_MODE 1011
#define IDC_PROPERTIES 1012
#define IDC_TRACK_TIME 1017
#define IDC_TRACK_NAME 1018
#define IDC_PLAYBACK_PARAMETERS 1019
#define IDC_SOURCE_PARAMETERS 1020
#define IDC_TIME_LABEL 1021
#define IDC_VOLUME_PICTURE 1022
#define IDC_LENGTH_LABEL 1045
#define IDC_START_LABEL 1046
#define IDC_PLAYLIST 1055
#define IDC_ENDLESS 1060
#define IDC_RANDOM 1061
#define IDC_TRACK_NUMBER 1062
#define IDC_TRACK_COUNT 1063
#define IDC_TRACKS_TO_GO 1064
#define IDC_TRACK_LIST 1065
#define IDC_TOTAL_TIME 1071
#define IDC_TOTAL_POSITION 1072
#define IDC_TOTAL_MODE_LABEL 1074
#define IDC_TOTAL_ELAPSED_MODE 1076
#define IDC_TOTAL_REMAINING_MODE 1077
#define IDC_URL 1103

// Controls of the scan's progress window (its Cancel button is IDCANCEL).
#define IDC_PROGRESS_BAR 1080
#define IDC_PROGRESS_PERCENT 1081
#define IDC_PROGRESS_ENTRY 1082
// Controls of the URL dialog.
#define IDC_URL_ADDRESS 1104

// Menu-only commands.
#define IDM_HIDE 32777
#define IDM_SELECT_TRACK 32779
#define IDM_HELP 57670

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
