#pragma once
#include <memory>

#include "text/help.h"

// The help that the selection dialogs open on a help request. It lives until the process
// ends; each selection dialog outside personal mode replaces it with its own topic.
void SetCurrentHelp(std::unique_ptr<CHelp> help);
// Null until a dialog set one.
const CHelp* CurrentHelp();
