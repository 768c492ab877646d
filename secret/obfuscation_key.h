#pragma once
#include <windows.h>

#include "core/crypto/xtea_feedback.h"

// The key of blobs obfuscated for one process: MD5 over the DER-encoded creation time and the
// identifier of the machine's data-protection key. Only a party that knows when this process
// started, on this machine, can build it.
core::ObfuscationKey ObfuscationKeyFor(const FILETIME& creationTime);
core::ObfuscationKey ProcessObfuscationKey();
