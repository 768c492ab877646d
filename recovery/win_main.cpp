// ZTRecDsk: recovers encrypted files with the password alone, for a user whose verification
// path is lost. It has no main window and reads no arguments: the open-file dialog comes up at
// once, and the program ends when the recovery is over. The exit code is always 0.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include "recovery/recovery_run.h"
#include "text/resource_module.h"
#include "trace/trace_scope.h"
#include "win/com_apartment.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    trace::CTraceScope scope("WinMain");
    const CComApartment apartment;
    if (!apartment.Ok()) return 0;
    ::InitCommonControls();
    const CLanguageSatellite satellite;
    RunRecovery(nullptr);
    return 0;
}
