#pragma once
#include "app/string_set.h"

// Adds the extensions that need the user's confirmation before encryption, as the registry
// lists them. False when the list cannot be read; the set is then unchanged.
bool LoadExtensionFilter(CStringSet& set);
