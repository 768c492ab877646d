#pragma once
#include "text/string_containers.h"

// Adds the extensions that need the user's confirmation before encryption, as the registry
// lists them. False when the list cannot be read; the set is then unchanged.
bool LoadExtensionFilter(CStringSet& set);

// The extensions that need confirmation before encryption when nobody has configured any:
// programs and system files, which the system may be unable to start without.
void AddDefaultExtensions(CStringSet& set);
