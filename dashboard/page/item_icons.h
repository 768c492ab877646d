#pragma once
#include <optional>

#include "dashboard/rules/icon_location.h"
#include "store/decrypted_item.h"
#include "win/unique_handle.h"

// Where a file item's icon comes from: the application the suite recorded for that name
// under its Applications key, else the program that opens files of the name's extension.
// Nothing when neither is known.
std::optional<core::IconLocation> IconLocationFor(const CDecryptedItem& item);

// The small icon at that location; none when the file has no such icon.
IconHandle ExtractSmallIcon(const core::IconLocation& location);
