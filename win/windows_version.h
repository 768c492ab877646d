#pragma once

// True on the NT family, the only one with file security.
bool IsNtPlatform();

// True on Windows NT 6.0 (Vista) and later, where the system resolves language resources
// itself, verbs carry indirect strings and a 32-bit process may run under WOW64.
bool IsWindowsVistaOrLater();
