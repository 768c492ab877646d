// Numbers of the dashboard plug-in's resources: the registration script, the page's
// dialogs, strings, bitmaps, icon and controls, and the control the folder picker gets.
// Included by the resource script too: macro definitions only.
#pragma once

#include "win/picture_ids.h"

#define IDR_REGISTRY 300

#define IDS_PAGE_TITLE 101
#define IDI_PAGE 102
#define IDS_COLUMN_NAME 104
#define IDS_COLUMN_LOCATION 105
#define IDS_REFRESH_TIP 106
#define IDS_NOT_FOUND 107
#define IDS_LOCATE_LINK 108
#define IDS_CONFIRM_REMOVE 110
#define IDS_CONFIRM_REMOVE_MISSING 111
#define IDS_CONFIRM_CAPTION 112
#define IDS_LOCATE_TITLE 113
#define IDS_LOCATE_FILTER 114
#define IDS_NAME_MISMATCH 115
#define IDS_CONFIRM_REMOVE_BOTH 116
#define IDS_TOO_MANY_TO_ENCRYPT 117
#define IDS_LIST_NOT_CHANGED 118
#define IDS_ITEMS_LEFT_OUT 119
#define IDS_DECRYPTED_TIP 120

#define IDD_MAIN_PAGE 107
#define IDD_STARTUP 108

#define IDB_ITEM_IMAGES 1009
#define IDB_REFRESH 1010
#define IDB_REFRESH_ANIMATION 1011

#define IDC_REMOVE 1002
#define IDC_ENCRYPT 1003
#define IDC_NOTIFY 1004
#define IDC_NOTIFY_HOURS 1006
#define IDC_NOTIFY_SPIN 1007
#define IDC_ITEMS 1008
#define IDC_REFRESH 1009
#define IDC_STARTUP_TEXT 1020

#define IDC_PICKER_PATH 1138
