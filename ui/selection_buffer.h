#pragma once
#include <span>

#include "text/string_containers.h"

// Appends the paths that an open-file dialog with multiple selection left in its buffer:
// either the full path of one file, or the folder followed by the names chosen in it, each
// zero-terminated and the whole ending in an empty string. Nothing is read past the buffer.
void AppendSelection(std::span<const wchar_t> buffer, CStringList& paths);
