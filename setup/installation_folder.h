#pragma once
#include <string>

// The suite's installation folder ("ZentaroPath"), read in the 64-bit registry view when
// this 32-bit program runs on 64-bit Windows, where the installer recorded it. Empty when it
// is not recorded.
std::wstring ReadInstallationFolder();
