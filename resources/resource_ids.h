// Numbers shared by the resource script and the program: menu and
// accelerator commands, dialog controls, the window messages between the
// parts of the program. Plain #defines, so that the resource compiler reads
// them too.
#pragma once

// Commands.
#define CMD_EXIT 40001
#define CMD_COM_PORT 40006
#define CMD_ABOUT 40007
#define CMD_ALWAYS_ON_TOP 40008
#define CMD_OPEN_SETUP 40012
#define CMD_SAVE_SETUP 40013
#define CMD_SAVE_SETUP_AS 40016
#define CMD_SAFE_FILE_MODE 40017
#define CMD_DEACTIVATE_SCREENSAVER 40018
#define CMD_HELP_CONTENTS 40022
#define CMD_TOGGLE_MAIN_MENU 40036
#define CMD_COMMENT 40037
#define CMD_HELP_LANGUAGE 40040
#define CMD_HELP_OPERATION 40041
#define CMD_RECALL 40042
#define CMD_STORE 40043
#define CMD_ANALYSER_SETTINGS 40044
#define CMD_OFFLINE_DUAL_MONO 40045
#define CMD_ANALYSER_INPUT_LEFT 40046
#define CMD_OFFLINE_STEREO 40047
#define CMD_ANALYSER_INPUT_RIGHT 40048
#define CMD_OFFLINE_SMALL_WINDOW 40049
#define CMD_OFFLINE_ANALYSER 40050
#define CMD_ANALYSER_INPUT_BOTH 40051
#define CMD_USER_SETTINGS_A 40052
#define CMD_BOOT_DUAL_MONO 40053
#define CMD_USER_SETTINGS_B 40054
#define CMD_BOOT_STEREO 40055
#define CMD_USER_SETTINGS_C 40056
#define CMD_BOOT_ANALYSER 40057
#define CMD_USER_SETTINGS_D 40058
#define CMD_ANALYSER_FREEZE 40059
#define CMD_LEVEL_METER_DISPLAY 40060
// Panel Size: Auto, then 100 %, 150 %, 200 % and 300 % (kept in this order).
#define CMD_PANEL_SIZE_AUTO 40061
#define CMD_PANEL_SIZE_100 40062
#define CMD_PANEL_SIZE_150 40063
#define CMD_PANEL_SIZE_200 40064
#define CMD_PANEL_SIZE_300 40065
// The Edit menu: undo history and A/B compare.
#define CMD_UNDO 40070
#define CMD_REDO 40071
#define CMD_COMPARE_AB 40072
#define CMD_COPY_A_TO_B 40073
#define CMD_COPY_B_TO_A 40074

// Dialog controls.
#define IDC_PORT_LIST 1006
#define IDC_COMMENT_EDIT 1020
#define IDC_HELP_BUTTON 1090
#define IDC_STORE_NAME 1098
#define IDC_HELP_LANGUAGE_LIST 1109
#define IDC_STORE_NUMBER 1111
#define IDC_RECALL_LIST 1113
// The value dialogs VALUEIN, SELECTIN and VALUEOUT.
#define IDC_VALUE_EDIT 1098
#define IDC_VALUE_UNIT 1100
#define IDC_VALUE_NAME 1101
#define IDC_VALUE_LOW 1104
#define IDC_VALUE_HIGH 1105
#define IDC_VALUE_LIST 1114
// The help window's controls.
#define IDC_HELP_BACK 1260
#define IDC_HELP_FORWARD 1261
#define IDC_HELP_CONTENTS 1262
#define IDC_HELP_TOPIC_LIST 1263
#define IDC_HELP_VIEW 1264
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Window messages: the panel's redraw request, the port's event thread's
// failure (wParam a PortError, lParam the system's error code; posted, so
// that the main window shows it on its own thread) and a second copy's call.
#define MSG_PANEL_REDRAW (0x0400 + 10)
#define MSG_PORT_FAILURE (0x0400 + 20)
// A background open of the port ended: wParam the port's handle (or
// INVALID_HANDLE_VALUE), lParam the attempt's number.
#define MSG_PORT_REOPENED (0x0400 + 30)
#define MSG_BRING_TO_FRONT (0x0400 + 100)

