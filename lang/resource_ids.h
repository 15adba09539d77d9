#pragma once
// Numbers of the resources that every language library holds and that the
// programs load by number. Included by the .rc files and by C++ code, so it
// holds plain #defines only. lang/RESOURCES.md says what each one is for.

// Dialog templates.
#define IDD_BRONTEL_MAIN 102
#define IDD_SET_RADIO 103
#define IDD_SET_COLOUR 104
#define IDD_SET_SNAPSHOT 105
#define IDD_SET_CAPTURE 106
#define IDD_SET_SCHEDULER 107
#define IDD_NO_OVERLAY 132
#define IDD_FINE_TUNE 133
#define IDD_SCHE_ITEM 140
#define IDD_SET_TV 141
#define IDD_SET_ABOUT 142
#define IDD_BUSY_WARNING 147
#define IDD_WAKE_END 149
#define IDD_WAKE_NOTICE 151

// Icons, cursors, menus, accelerators.
#define IDC_SIZE_TOPRIGHT 115
#define IDI_TRAY 121
#define IDR_TRAY_MENU 122
#define IDR_MAIN_ACCEL 128
#define IDI_BRONTEL 129
#define IDC_SIZE_TOPLEFT 130

// Controls of the main dialog.
#define IDC_SKIN 1000
#define IDC_LABEL_CHN_NAME 1012
#define IDC_LABEL_CHN_NUM 1013
#define IDC_LABEL_REC_TIME 1014
#define IDC_LABEL_REMAIN_TIME 1015
#define IDC_LABEL_PART 1016
#define IDC_BTN_TIMESHIFT 1045
#define IDC_BTN_SKIP_BACK 1046
#define IDC_BTN_REWIND 1047
#define IDC_BTN_PLAY 1048
#define IDC_BTN_PAUSE 1049
#define IDC_BTN_FAST_FWD 1050
#define IDC_BTN_SKIP_FWD 1051
#define IDC_BTN_RECORD 1052
#define IDC_BTN_STOP 1053
#define IDC_BTN_SOURCE 1054
#define IDC_BTN_SOUND_MODE 1055
#define IDC_BTN_REC_QUALITY 1056
#define IDC_BTN_SETTINGS 1057
#define IDC_BTN_FULL_SCREEN 1058
#define IDC_BTN_SNAPSHOT 1059
#define IDC_BTN_CHN_UP 1060
#define IDC_BTN_VOL_UP 1061
#define IDC_BTN_CHN_DOWN 1062
#define IDC_BTN_VOL_DOWN 1063
#define IDC_BTN_SOUND_TOGGLE 1064
#define IDC_BTN_RESERVATION 1065
#define IDC_BTN_EXIT 1066
#define IDC_BTN_TO_TRAY 1067
#define IDC_BTN_SPARE 1068
#define IDC_BTN_FIRST IDC_BTN_TIMESHIFT
#define IDC_BTN_LAST IDC_BTN_SPARE

// Controls of the small dialogs.
#define IDC_NO_OVERLAY_HIDE 1014    /* dialog 132: do not show again */
#define IDC_NOTICE_ICON 1240        /* dialogs 132, 147, 149, 151 */
#define IDC_COUNTDOWN_NUMBER 1229   /* dialogs 147 and 149 */
#define IDC_COUNTDOWN_TEXT 1242     /* dialogs 147, 149 and 151 */
#define IDC_COUNTDOWN_PROGRESS 1243 /* dialogs 147, 149 and 151 */

// Menu and accelerator commands.
#define ID_TRAY_RESTORE 40001
#define ID_TRAY_SOUND 40002
#define ID_TRAY_EXIT 40003
#define ID_SIZE_PRESET0 40007
#define ID_SIZE_PRESET1 40008
#define ID_SIZE_PRESET2 40009
#define ID_SIZE_PRESET3 40010
#define ID_CMD_SOURCE 40011
#define ID_CMD_SOUND_MODE 40012
#define ID_CMD_SNAPSHOT 40013
#define ID_CMD_SOUND_TOGGLE 40014
#define ID_CMD_TIMESHIFT 40015
#define ID_CMD_PIP 40016
#define ID_CMD_PREV_CHANNEL 40017
#define ID_CMD_CHN_UP 40018
#define ID_CMD_CHN_DOWN 40019
#define ID_CMD_VOL_UP 40020
#define ID_CMD_VOL_DOWN 40021
#define ID_CMD_FULL_SCREEN 40022
#define ID_CMD_PLAY 40023
#define ID_CMD_STOP 40024
#define ID_CMD_PAUSE 40025
#define ID_CMD_RECORD 40026
#define ID_CMD_SKIP_BACK 40027
#define ID_CMD_SKIP_FWD 40028
#define ID_CMD_FAST_FWD 40029
#define ID_CMD_REWIND 40030
#define ID_CMD_DIGIT0 40031
#define ID_CMD_DIGIT9 40040
#define ID_CMD_DIGIT_ENTRY 40041
#define ID_CMD_EXIT 40042
#define ID_CMD_PLAY_LAST 40043
#define ID_CMD_SETTINGS 40045

// Strings.
#define IDS_TRAY_TIP 101
#define IDS_CAPTION 107
#define IDS_ERR_VIDEO_START 108
#define IDS_ERR_ELEMENT_MISSING 151
#define IDS_ERR_SKIN_MISSING 152
#define IDS_ERR_APIMGR_FAILED 159
#define IDS_ERR_APIMGR_MISSING 170
#define IDS_ERR_DIRECTX 280
#define IDS_ERR_BOARD_START 282
#define IDS_WAKE_NOTICE 305
