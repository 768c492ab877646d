#pragma once
#include <windows.h>

// A provider whose signature the system no longer accepts is repaired by registering its DLL
// again. This walks every full-RSA provider registered on the machine and calls its
// DllRegisterServer; a provider that cannot be read or loaded is passed over.
void ReregisterFullRsaProviders();

// Tries the base and the enhanced provider; one that reports a bad signature triggers the walk.
void RepairProviders();
