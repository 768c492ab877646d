#pragma once
#include "dashboard/locate/locate_item.h"

// The shell's browse-for-folder dialog for file-system folders, with a path field under the
// tree that follows the tree's selection and may be typed into. The tree starts at the
// nearest existing folder of the request's folder, the field at the folder itself. OK takes
// the field's path, unless the request's check refuses it. True when a folder was chosen:
// the request's chosen path then names it.
bool RunFolderPicker(LocateRequest& request);
