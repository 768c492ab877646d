// Numbers of the dashboard stand-in's resources. Included by its resource script too: macro
// definitions only.
#pragma once

#define IDD_REMINDER 100
#define IDC_REMINDER_TEXT 1001

#define IDS_NO_PLUGINS 201
#define IDS_STATUS_UNAVAILABLE 202
#define IDS_STATUS_ITEMS 203
#define IDS_STATUS_TIMEOUT 204
#define IDS_REMINDER_TEXT 205
#define IDS_DASHBOARD_TITLE 206
