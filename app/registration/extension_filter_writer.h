#pragma once
#include "text/string_containers.h"

// Stores the set as the machine's extension filter, creating the application key when it
// is missing. False when the key cannot be opened or the value not written.
bool WriteExtensionFilter(const CStringSet& set);
