#pragma once
#include <windows.h>

#include <string>

#include "text/string_containers.h"

// Appends the full path of every entry of the folder except "." and "..", in the order the
// file system returns them. The listing is closed before this returns, so whatever the
// caller then creates or deletes in the folder does not disturb the entries it got.
// Returns the status of a listing that could not be started; entries is then untouched.
HRESULT ListFolderEntries(const std::wstring& folder, CStringList& entries);
