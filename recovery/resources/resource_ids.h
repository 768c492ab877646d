// Numbers of the resources of ZTRecDsk that the code addresses, with those of the shared
// layers it carries. Included by the resource script as well, so it holds nothing but macro
// definitions.
#pragma once

#include "engine/engine_ids.h"
#include "text/text_ids.h"
#include "ui/ui_ids.h"

#define IDI_ZTRECDSK 102
#define IDD_PASSWORD 103

#define IDC_PASSWORD 1000

#define IDS_PASSWORD_EMPTY 1
#define IDS_SECRET_FAILED 5
#define IDS_PASSWORD_CANCELLED 6
#define IDS_CHOOSE_FILES 36
