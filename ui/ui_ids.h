// Numbers of the shared dialogs' resources (ui/ui_resources.rc). Included by resource
// scripts too: macro definitions only.
#pragma once

#define IDD_PROGRESS 104
#define IDD_REPORT 105
#define IDD_CONFIRM 107

#define IDC_PROGRESS_BAR 1002
#define IDC_PROGRESS_FILE 1003
#define IDC_REPORT_TEXT 1005
#define IDC_YES_TO_ALL 1006
#define IDC_NO_TO_ALL 1007
#define IDC_CONFIRM_QUESTION 1008
#define IDC_CONFIRM_WARNING 1009

#define IDS_ERROR_REASON 11
#define IDS_NO_ERROR_TEXT 19
#define IDS_CONFIRM_WARNING 34
#define IDS_CONFIRM_QUESTION 40
#define IDS_REPORT_ENCRYPT 52
#define IDS_REPORT_DECRYPT 53
#define IDS_FILTER_ALL 55
#define IDS_FILTER_ENCRYPTED 56
