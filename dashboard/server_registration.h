#pragma once
#include <windows.h>

// DllRegisterServer: the status object's COM class from the registration script, then the
// dashboard's entries for the plug-in (its path) and its help. The first failure ends it
// with its code; what was written before stays.
HRESULT RegisterDashboardServer();

// DllUnregisterServer: removes the two dashboard entries (their keys stay, whatever happens
// to the values) and then the COM class; only the class's removal is reported.
HRESULT UnregisterDashboardServer();
