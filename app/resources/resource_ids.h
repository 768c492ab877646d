// Numbers of the resources of ZTFileEn that the code addresses, with those of the shared
// layers it carries. Included by the resource script as well, so it holds nothing but macro
// definitions.
#pragma once

#include "engine/engine_ids.h"
#include "text/text_ids.h"
#include "ui/ui_ids.h"

// Icons, dialogs and menus.
#define IDI_ZTFILEEN 102
#define IDD_PASSWORD 103
#define IDM_MAINMENU 106

// Settings description for the product's settings dialog.
#define IDR_SETTINGS 214

// Controls.
#define IDC_PASSWORD 1000
#define IDC_PASSWORD_CONFIRM 1001
#define IDC_PASSWORD_PROMPT 1033

// Main window menu commands.
#define IDM_ENCRYPT 40001
#define IDM_DECRYPT 40002
#define IDM_EXIT 40003
#define IDM_HELP 40007

// Strings.
#define IDS_PASSWORD_EMPTY 1
#define IDS_PASSWORDS_DIFFER 3
#define IDS_VERIFY_ENCRYPT 4
#define IDS_NO_SECRET 5
#define IDS_NOT_VERIFIED 6
#define IDS_SKIPPED_SYSTEM 17
#define IDS_PASSWORD_PROMPT 21
#define IDS_MAIN_TITLE 33
#define IDS_CHOOSE_ENCRYPT 35
#define IDS_CHOOSE_DECRYPT 36
#define IDS_OPEN_VERB 37
#define IDS_SKIPPED_PROTECTED 44
#define IDS_SKIPPED_HIDDEN 51
#define IDS_VERIFY_DECRYPT 54
#define IDS_SELECTION_DONE 60
