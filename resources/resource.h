#pragma once
// Identifiers of Quavera.exe's resources. Dialog, control and command numbers
// are fixed: other programs and the settings sheet post some of them.

// Dialog templates.
#define IDD_PLAYER_LARGE 102
#define IDD_PLAYER_MEDIUM 177
#define IDD_PLAYER_SMALL 178
#define IDD_ASSOCIATION_CHECK 179
#define IDD_PROGRESS 180
#define IDD_URL 114
// Pages of the settings sheet, in their order.
#define IDD_AUDIO_PLAYBACK 200
#define IDD_AUDIO_PLAYBACK_MODE 201
#define IDD_AUDIO_BUFFERS 202
#define IDD_DIALOG_CONFIG 203
#define IDD_INTERNET_PROPERTIES 204
// Pages of the track properties sheet, in their order.
#define IDD_FILE_ID3 210
#define IDD_STREAM_PROPERTIES 211
#define IDD_STREAM_PROPERTIES2 212
#define IDD_PLAYLIST_EDITOR 230

// Icons, menus, accelerators.
#define IDI_QUAVERA 128
#define IDR_CONTEXT_MENU 129
#define IDR_ACCELERATORS 130
#define IDR_TRACK_MENU 131
// The playlist editor's icon, menus (the list item's, then the help menu) and keys.
#define IDI_PLAYLIST_EDITOR 231
#define IDR_EDITOR_MENU 232
#define IDR_EDITOR_ACCELERATORS 233
// The playback controls of the notification area.
#define IDI_PLAY 133
#define IDI_STOP 134
#define IDI_NEXT 135
#define IDI_PREVIOUS 136
#define IDI_PAUSE 224

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
// The playlist editor's buttons (Load and URL show the main dialog's pictures).
#define IDB_NEW 234
#define IDB_IMPORT 235
#define IDB_SAVE 236
#define IDB_TRACK_PROPERTIES 237
#define IDB_DELETE 238
#define IDB_TOP 239
#define IDB_BOTTOM 240
#define IDB_LAUNCH 241
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
#define IDC_SONG_GROUP 1067
// Marks the bottom edge of the medium and small layouts.
#define IDC_BOTTOM_EDGE 1068
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
// The association check's "Do not display this message again." (its
// buttons are IDYES and IDNO).
#define IDC_NO_ASSOCIATION_CHECK 1070

// Controls of the playlist editor; its URL button is IDC_URL, its commands
// are its buttons' ids.
#define IDC_EDITOR_FILE_TYPES 1048
#define IDC_EDITOR_LIST 1049
#define IDC_EDITOR_SAVE 1050
#define IDC_EDITOR_LOAD 1051
#define IDC_EDITOR_IMPORT 1052
#define IDC_EDITOR_LAUNCH 1053
#define IDC_EDITOR_DELETE 1054
#define IDC_EDITOR_SUBFOLDERS 1056
#define IDC_EDITOR_EXTENSIONS 1057
#define IDC_EDITOR_PATHS 1058
#define IDC_EDITOR_NEW 1059
#define IDC_EDITOR_PLAYLIST_GROUP 1111
#define IDC_EDITOR_TYPES_GROUP 1112
#define IDC_EDITOR_BOTTOM 1117
#define IDC_EDITOR_TOP 1118
#define IDC_EDITOR_PROPERTIES 1119

// Controls of the settings sheet's pages.
#define IDC_DEVICE_LIST 1025
#define IDC_RATIO_1 1029
#define IDC_RATIO_2 1030
#define IDC_RATIO_4 1031
#define IDC_QUALITY_BEST 1032
#define IDC_QUALITY_BETTER 1033
#define IDC_QUALITY_GOOD 1034
#define IDC_STEREO 1035
#define IDC_MONO 1036
#define IDC_BITS_16 1037
#define IDC_BITS_8 1038
#define IDC_METHOD_TIMER 1039
#define IDC_METHOD_THREAD 1040
#define IDC_METHOD_DEVICE 1041
#define IDC_BUFFER_TEXT 1079
#define IDC_BUFFER_SLIDER 1080
#define IDC_TASKBAR_CONTROLS 1083
#define IDC_SCROLLER 1084
#define IDC_DIALOG_SIZE 1088
#define IDC_PROXY 1097
#define IDC_PROXY_PORT 1098
#define IDC_USER 1099
#define IDC_PASSWORD 1100
#define IDC_DOWNLOAD_ONLY 1101
#define IDC_DOWNLOAD_AND_SAVE 1102
#define IDC_SKIP_FILE_SCAN 1109
#define IDC_DISABLE_CONTINUOUS 1125

// Controls of the track properties' pages.
#define IDC_VOLUME_PRESET 1008
#define IDC_ID3_TITLE 1018
#define IDC_VOLUME_PRESET_SPIN 1115
#define IDC_PROPERTIES_FILE_NAME 1121
#define IDC_PLAYBACK_DURATION 1122
#define IDC_PLAYBACK_DURATION_SPIN 1123
#define IDC_FILE_DURATION 1124
#define IDC_STATISTICS_TYPE 1126
#define IDC_STATISTICS_FREQUENCY 1127
#define IDC_STATISTICS_CHANNELS 1128
#define IDC_STATISTICS_BITRATE 1129
#define IDC_STATISTICS_PACK_RATIO 1130
#define IDC_STATISTICS_DESCRIPTION 1131
#define IDC_ID3_ARTIST 1133
#define IDC_ID3_ALBUM 1134
#define IDC_ID3_YEAR 1135
#define IDC_ID3_COMMENT 1136

// Menu-only commands.
#define IDM_HIDE 32777
#define IDM_SELECT_TRACK 32779
// The track list menu's Properties, the number of the editor's Properties.
#define IDM_TRACK_PROPERTIES 1119
#define IDM_HELP 57670

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
