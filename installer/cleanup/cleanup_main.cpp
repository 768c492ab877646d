// ZTCleanup "<folder>\Cleanup.txt": the uninstaller's helper that carries out the clean-up
// list after every module has been unregistered. It shows nothing: the uninstaller goes on
// whatever happens, and the trace tells what failed.
#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include "setup/cleanup_run.h"
#include "win/unique_handle.h"

namespace {

enum ExitCode { kDone = 0, kFailed = 1, kUsage = 2 };

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    const LocalMemory arguments(::CommandLineToArgvW(::GetCommandLineW(), &count));
    if (!arguments || count != 2) return kUsage;
    const wchar_t* path = static_cast<wchar_t**>(arguments.get())[1];
    return SUCCEEDED(CarryOutCleanupList(path)) ? kDone : kFailed;
}
