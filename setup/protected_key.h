#pragma once
#include <windows.h>

// True when the calling process runs as LocalSystem or its token lists the Administrators
// group: only then does registration give a key an access list of its own.
bool RegistersAsAdministrator();

// Gives the key an access list that does not inherit from its parent: full control for
// LocalSystem and Administrators, read for Users, each passed on to sub-keys. False when the
// list could not be built or set.
bool ProtectKey(HKEY key);
