// ZTFileEn: one job per start, chosen on the command line; without arguments, the main
// window. The exit code is 0 but after /RegServer, whose HRESULT it is, so that an installer
// sees a registration that failed; every other action reports its own outcome.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include "app/startup/command_dispatch.h"
#include "app/startup/main_wnd.h"
#include "core/command_line/command_line.h"
#include "text/resource_module.h"
#include "trace/trace_scope.h"
#include "win/com_apartment.h"
#include "win/wide_text.h"

namespace {

HRESULT Run(HINSTANCE instance, const trace::CTraceScope& scope) {
    ::InitCommonControls();
    const CLanguageSatellite satellite;
    trace::Trace(scope, 0, "Processing Command Line arguments");
    const std::wstring_view commandLine = ::GetCommandLineW();
    // Decided on the tail as the program's entry would see it, so trailing blanks after
    // the program's name still count as no arguments.
    if (!core::CommandTail(AsU16(commandLine)).empty()) return DispatchCommandLine(commandLine, scope);
    RunMainWindow(instance);
    return S_OK;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    trace::CTraceScope scope("WinMain");
    const CComApartment apartment;
    return apartment.Ok() ? static_cast<int>(Run(instance, scope)) : 0;
}
