#pragma once
#include "app/string_set.h"

// The extensions that need confirmation before encryption when nobody has configured any.
void AddDefaultExtensions(CStringSet& set);

// Stores the set as the machine's extension filter, creating the application key when it
// is missing. False when the key cannot be opened or the value not written.
bool WriteExtensionFilter(const CStringSet& set);
