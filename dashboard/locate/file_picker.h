#pragma once
#include "dashboard/locate/locate_item.h"

// The system's open-file dialog for one existing file, starting in the request's folder with
// its chosen path as the file name. Its hook keeps the dialog in the middle of the work area
// and lets the request's check refuse a choice. True when a file was chosen: the request's
// chosen path then names it.
bool RunFilePicker(LocateRequest& request);
