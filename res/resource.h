/*
 * resource.h - every numeric id of Spindle2: dialogs, controls, menu
 * commands, icons, bitmaps, window messages and timers. The numbers are
 * fixed: help files, the CD library's callers and stored settings rely on
 * them. Also read by windres (res/spindle2.rc), so plain #defines only.
 */
#ifndef SPINDLE2_RESOURCE_H
#define SPINDLE2_RESOURCE_H

/* Dialog templates */
#define IDD_ABOUT                103   /* "About Spindle2" */
#define IDD_MAIN                 123   /* main dialog = control panel */
#define IDD_SUBMIT_CATEGORY      136   /* "Submit A New Entry" */
#define IDD_TRACK_SELECT         137   /* complete track list */
#define IDD_FUZZY_MATCH          138   /* "Fuzzy Search Results" */
#define IDD_STATUS               173   /* operation status window */
#define IDD_DRIVE_SELECT         175   /* "Select Drive" */

/* Icons */
#define IDI_CD_PLAYING           108   /* disc with a note; also the windows' small icon */
#define IDI_CD_PAUSED            109   /* disc with pause bars */
#define IDI_CD_PLAIN             110   /* start-up icon */
#define IDI_CD_STOPPED           112   /* disc with a square */
#define IDI_CD_NONE              133   /* no disc or unknown state: a red cross */
#define IDI_ARROW_UP             131
#define IDI_ARROW_DOWN           132

/* Tray icon id within the notification area */
#define TRAY_ICON_ID             1001

/* Control panel bitmaps: normal, pushed, disabled for each button */
#define IDB_PLAY                 144
#define IDB_PLAY_PUSHED          145
#define IDB_PLAY_DISABLED        156
#define IDB_PAUSE                146
#define IDB_PAUSE_PUSHED         147
#define IDB_PAUSE_DISABLED       157
#define IDB_STOP                 148
#define IDB_STOP_PUSHED          149
#define IDB_STOP_DISABLED        158
#define IDB_PREVIOUS             150
#define IDB_PREVIOUS_PUSHED      151
#define IDB_PREVIOUS_DISABLED    159
#define IDB_NEXT                 152
#define IDB_NEXT_PUSHED          153
#define IDB_NEXT_DISABLED        160
#define IDB_EJECT                154
#define IDB_EJECT_PUSHED         155
#define IDB_EJECT_DISABLED       167
#define IDB_VOLUME_UP            161
#define IDB_VOLUME_UP_PUSHED     162
#define IDB_VOLUME_UP_DISABLED   163
#define IDB_VOLUME_DOWN          164
#define IDB_VOLUME_DOWN_PUSHED   165
#define IDB_VOLUME_DOWN_DISABLED 166

/* Control panel controls (dialog 123) */
#define IDC_PLAY                 1047
#define IDC_PAUSE                1048
#define IDC_STOP                 1049
#define IDC_NEXT                 1050
#define IDC_STATUS_LINE          1051  /* status/time text and scan text */
#define IDC_PREVIOUS             1053
#define IDC_EJECT                1054
#define IDC_TITLE_LINE           1055  /* track or disc title text */
#define IDC_VOLUME_UP            1090
#define IDC_VOLUME_DOWN          1091
#define IDC_VOLUME_BAR           1097
#define IDC_DRIVE_LABEL          1117

/* Status window (dialog 173) */
#define IDC_STATUS_TEXT          1125

/* Selection dialogs (137 "Select Track", 175 "Select Drive"); the CD
   information sheet's pages use the same two numbers for their track list
   and drive box */
#define IDC_TRACK_LIST           1034
#define IDC_DRIVE_LIST           1133

/* "Fuzzy Search Results" (dialog 138) and "Submit A New Entry" (dialog 136) */
#define IDC_FUZZY_LIST           1085  /* the inexact matches, in the library's order */
#define IDC_SUBMIT_CATEGORY      1080  /* drop-down list of the stored categories */

/* About box (dialog 103) */
#define IDC_ABOUT_ICON           1200
#define IDC_ABOUT_NAME           1201
#define IDC_ABOUT_COPYRIGHT      1202

/* CD information sheet "Spindle2 Properties": its three pages */
#define IDD_CDINFO_TITLES        121   /* "CD Information" */
#define IDD_CDINFO_PROGRAM       119   /* "Track Programming" */
#define IDD_CDINFO_EXTENDED      174   /* "Extended CD Information" */

/* CD information sheet controls (pages 121, 174, 119) */
#define IDC_CDINFO_DRIVE         1133  /* drive box, on every page */
#define IDC_CDINFO_CLEAR_ALL     1134  /* "Clear All", pages 121 and 174 */
#define IDC_CDINFO_ARTIST        1015
#define IDC_CDINFO_TITLE         1016
#define IDC_CDINFO_TRACKS        1034  /* one line per track */
#define IDC_CDINFO_NAME          1017  /* name of the selected track */
#define IDC_CDINFO_DISC_TEXT     1127
#define IDC_CDINFO_TRACK_NUMBER  1135  /* "Track - %d" */
#define IDC_CDINFO_TRACK_TEXT    1128
#define IDC_CDINFO_PREVIOUS      1124  /* "Previous Track" */
#define IDC_CDINFO_NEXT          1130  /* "Next Track" */
#define IDC_PROGRAM_DISC_ORDER   1008  /* every track in disc order */
#define IDC_PROGRAM_ADD          1009
#define IDC_PROGRAM_REMOVE       1010
#define IDC_PROGRAM_LIST         1011  /* the programmed order */
#define IDC_PROGRAM_UP           1012  /* icon IDI_ARROW_UP */
#define IDC_PROGRAM_DOWN         1013  /* icon IDI_ARROW_DOWN */
#define IDC_PROGRAM_REMOVE_ALL   1014
#define IDC_PROGRAM_ADD_ALL      1019

/* Context help ids of the CD information sheet (topics of Spindle2.hlp) */
#define HID_CDINFO_DRIVE         89
#define HID_CDINFO_ARTIST        90
#define HID_CDINFO_TITLE         91
#define HID_CDINFO_TRACKS        92
#define HID_CDINFO_NAME          93
#define HID_CDINFO_CLEAR_ALL     94
#define HID_CDINFO_DISC_TEXT     95
#define HID_CDINFO_TRACK_TEXT    96
#define HID_PROGRAM_DISC_ORDER   97
#define HID_PROGRAM_LIST         98

/* Options sheet "Spindle2 Options": its six pages, in the sheet's order
   122, 170, 171, 172, 126, 127 */
#define IDD_OPT_PANEL            122   /* "CD Control Panel" */
#define IDD_OPT_PLAY_MODES       170   /* "Play Modes" */
#define IDD_OPT_TIME_DISPLAY     171   /* "Time Display" */
#define IDD_OPT_EJECT_EXIT       172   /* "Eject and Exit" */
#define IDD_OPT_CDDB_QUERY       126   /* "CDDB Query" */
#define IDD_OPT_CDDB_SUBMIT      127   /* "CDDB Submit" */

/* Options sheet controls: "CD Control Panel" (122) */
#define IDC_OPT_SHOW_AT_STARTUP  1052
#define IDC_OPT_ALWAYS_ON_TOP    1033
#define IDC_OPT_HIDE_NO_CD       1142
#define IDC_OPT_STATUS_TIME      1120  /* ControlsDisplayType 0 */
#define IDC_OPT_TRACK_TITLE      1121  /* ControlsDisplayType 1 */

/* "Play Modes" (170) */
#define IDC_OPT_RANDOM_ALL       1122
#define IDC_OPT_REPEAT_ALL       1022
#define IDC_OPT_INTRO_START      1042  /* edit, buddy of 1043 */
#define IDC_OPT_INTRO_START_SPIN 1043  /* up-down 0..1000 */
#define IDC_OPT_INTRO_MIDDLE     1100  /* "at middle of track" */
#define IDC_OPT_INTRO_LENGTH     1045  /* edit, buddy of 1046 */
#define IDC_OPT_INTRO_LENGTH_SPIN 1046 /* up-down 2..1000 */

/* "Time Display" (171): TimeDisplayMode 0..3 */
#define IDC_OPT_TRACK_ELAPSED    1108
#define IDC_OPT_TRACK_REMAINING  1106
#define IDC_OPT_DISC_ELAPSED     1107
#define IDC_OPT_DISC_REMAINING   1109

/* "Eject and Exit" (172) */
#define IDC_OPT_EJECT_AT_END     1018
#define IDC_OPT_EXIT_AT_EJECT    1118
#define IDC_OPT_STOP_AT_EXIT     1099

/* "CDDB Query" (126) */
#define IDC_OPT_QUERY_LOCAL      1071
#define IDC_OPT_LOCAL_ROOT       1056
#define IDC_OPT_QUERY_SERVER     1066
#define IDC_OPT_USE_PROXY        1075
#define IDC_OPT_SERVERS          1064  /* drop-down list of the stored servers */
#define IDC_OPT_PROXY_HOST       1073
#define IDC_OPT_PROXY_PORT       1074
#define IDC_OPT_QUERY_STATUS     1137

/* "CDDB Submit" (127) */
#define IDC_OPT_SMTP_SERVER      1057
#define IDC_OPT_SMTP_PORT        1132
#define IDC_OPT_RETURN_ADDRESS   1079
#define IDC_OPT_SUBMIT_STATUS    1138

/* Context help ids of the options sheet (topics of Spindle2.hlp) */
#define HID_OPT_STATUS_TIME      65
#define HID_OPT_TRACK_TITLE      66
#define HID_OPT_RANDOM_ALL       67
#define HID_OPT_REPEAT_ALL       68
#define HID_OPT_INTRO_START      69
#define HID_OPT_INTRO_LENGTH     70
#define HID_OPT_INTRO_MIDDLE     71
#define HID_OPT_TRACK_ELAPSED    72
#define HID_OPT_TRACK_REMAINING  73
#define HID_OPT_DISC_ELAPSED     74
#define HID_OPT_DISC_REMAINING   75
#define HID_OPT_EJECT_AT_END     76
#define HID_OPT_EXIT_AT_EJECT    77
#define HID_OPT_STOP_AT_EXIT     78
#define HID_OPT_QUERY_STATUS     79
#define HID_OPT_QUERY_LOCAL      80
#define HID_OPT_LOCAL_ROOT       81
#define HID_OPT_QUERY_SERVER     82
#define HID_OPT_USE_PROXY        83
#define HID_OPT_SERVERS          84
#define HID_OPT_PROXY_HOST       85
#define HID_OPT_PROXY_PORT       86
#define HID_OPT_RETURN_ADDRESS   87
#define HID_OPT_SMTP_SERVER      88
#define HID_OPT_SHOW_AT_STARTUP  99
#define HID_OPT_ALWAYS_ON_TOP    100
#define HID_OPT_SMTP_PORT        101
#define HID_OPT_SUBMIT_STATUS    102
#define HID_OPT_HIDE_NO_CD       103

/* Menu resource "PopupMenu": fixed commands */
#define IDM_PLAY                 40014
#define IDM_PAUSE                40015
#define IDM_NEXT_TRACK           40016
#define IDM_PREVIOUS_TRACK       40017
#define IDM_ABOUT                40018
#define IDM_EXIT                 40019
#define IDM_RANDOM               40020
#define IDM_STOP                 40021
#define IDM_TRACK_PLACEHOLDER    40035
#define IDM_EJECT                40038
#define IDM_PROPERTIES           40040
#define IDM_INTRO                40041
#define IDM_REPEAT_ALL           40043
#define IDM_REPEAT_CURRENT       40044
#define IDM_SHOW_CONTROLS        40046
#define IDM_HIDE_CONTROLS        40048
#define IDM_MIXER_PLACEHOLDER    40062
#define IDM_DRIVE_PLACEHOLDER    40066
#define IDM_START_RACKFILE       40068
#define IDM_OPTIONS              40072
#define IDM_QUERY_CDDB           40073
#define IDM_SUBMIT_CDDB          40074
#define IDM_HELP_CONTENTS        40075

/* Menu resource "PopupMenu": dynamic items */
#define IDM_TRACK_FIRST          34768 /* track t is IDM_TRACK_FIRST + t - 1 */
#define IDM_TRACK_LAST           35767
#define IDM_TRACK_COMPLETE_LIST  34789 /* "Complete Track List..." */
#define IDM_VOLUME_FIRST         35768 /* volume control v is IDM_VOLUME_FIRST + v - 1 */
#define IDM_VOLUME_LAST          36767
#define IDM_DRIVE_FIRST          36768 /* drive d is IDM_DRIVE_FIRST + d - 1 */
#define IDM_DRIVE_LAST           37767
#define MAX_TRACK_MENU_ITEMS     20

/* Window messages of the main window (WM_APP is 0x8000) */
#define WM_TRAY_NOTIFY           (0x8000 + 1000)
#define WM_CDDB_DRIVE_FOUND      (0x8000 + 1001)
#define WM_CDDB_QUERY_DONE       (0x8000 + 1002)
#define WM_CDDB_SUBMIT_DONE      (0x8000 + 1003)

/* Window messages of the status window (same numbers, another window) */
#define WM_STATUS_SETTEXT        (0x8000 + 1000)
#define WM_STATUS_CLOSE          (0x8000 + 1001)

/* Timers of the main window */
#define TIMER_MEDIA_POLL         1     /* 5000 ms: drives that are not current */
#define TIMER_STATUS_POLL        2     /* 1000 ms: the current drive */
#define TIMER_BUTTON_REPEAT      3     /* 100 ms: held buttons */
#define TIMER_TRAY_CLICK         4     /* 500 ms: resolves tray clicks */
#define TIMER_PREVIOUS           5     /* 500 ms: single press of Previous */
#define TIMER_LOOKUP_DONE        6     /* 3000 ms: end of a CDDB run */

/* Rackfile.exe, the title database tool: 5000-5999 */
/* Its dialogs */
#define IDD_RACKFILE_MAIN        5000  /* the main window, a modeless dialog */
#define IDD_RACKFILE_ENTRY       5001  /* "Edit Entry" */
#define IDD_RACKFILE_EXPORT      5002  /* "Export Entries" */
#define IDD_RACKFILE_IMPORT      5003  /* "Import Entries" */
#define IDD_RACKFILE_ABOUT       5004  /* "About Rackfile" */
/* Main window controls */
#define IDC_RF_SEARCH_LABEL      5100
#define IDC_RF_SEARCH            5101
#define IDC_RF_LIST              5102
#define IDC_RF_EDIT              5103
#define IDC_RF_DELETE            5104
#define IDC_RF_CHECK             5105
#define IDC_RF_COMPACT           5106
#define IDC_RF_EXPORT            5107
#define IDC_RF_IMPORT            5108
#define IDC_RF_REFRESH           5109
#define IDC_RF_ABOUT             5110
#define IDC_RF_STOP              5111
#define IDC_RF_PROGRESS          5112
#define IDC_RF_STATUS            5113
/* Entry editor controls */
#define IDC_RF_ENTRY_ID          5200
#define IDC_RF_ENTRY_ARTIST      5201
#define IDC_RF_ENTRY_TITLE       5202
#define IDC_RF_ENTRY_DISCTEXT    5203
#define IDC_RF_ENTRY_TRACKS      5204
#define IDC_RF_ENTRY_TRACKTITLE  5205
#define IDC_RF_ENTRY_TRACKTEXT   5206
#define IDC_RF_ENTRY_PROGRAM     5207
/* Export, import and About controls */
#define IDC_RF_PATH              5300
#define IDC_RF_WINDOWS_LAYOUT    5301
#define IDC_RF_SELECTED_ONLY     5302
#define IDC_RF_ABOUT_VERSION     5400
#define IDC_RF_ABOUT_USAGE       5401
/* Messages from Rackfile's worker thread to its main window */
#define WM_RACKFILE_PROGRESS     (0x8000 + 5000) /* wParam done, lParam total */
#define WM_RACKFILE_TASK_DONE    (0x8000 + 5001) /* lParam: the task's result, the window's to free */

#endif /* SPINDLE2_RESOURCE_H */
