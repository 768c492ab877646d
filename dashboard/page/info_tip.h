#pragma once
#include <string>

#include "store/decrypted_item.h"

// What the list shows when the mouse rests on an item: for one that was not found, the
// folder where it was; otherwise when it was decrypted, in the user's long date format and,
// unless the recorded time is midnight, the user's time format. Empty when the time is
// unknown or cannot be shown in local time.
std::wstring InfoTipText(const CDecryptedItem& item);
