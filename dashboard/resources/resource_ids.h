// Numbers of the dashboard plug-in's resources: the registration script, the page's
// dialogs, strings, icon and controls. Included by the resource script too: macro
// definitions only.
#pragma once

#define IDR_REGISTRY 300

#define IDS_PAGE_TITLE 101
#define IDI_PAGE 102
#define IDS_COLUMN_NAME 104
#define IDS_COLUMN_LOCATION 105
#define IDS_REFRESH_TIP 106
#define IDS_NOT_FOUND 107

#define IDD_MAIN_PAGE 107
#define IDD_STARTUP 108

#define IDC_REMOVE 1002
#define IDC_ENCRYPT 1003
#define IDC_NOTIFY 1004
#define IDC_NOTIFY_HOURS 1006
#define IDC_NOTIFY_SPIN 1007
#define IDC_ITEMS 1008
#define IDC_REFRESH 1009
