#pragma once
#include "text/string_containers.h"

// Stores the set as the machine's extension filter, creating the application key when it
// is missing; throws the registry's error when the key cannot be had or the value written.
void WriteExtensionFilter(const CStringSet& set);
