// ZTFileEn: one job per start, chosen on the command line; without arguments, the main
// window. The exit code is always 0: every action reports its own outcome.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include "app/startup/command_dispatch.h"
#include "app/startup/main_wnd.h"
#include "core/command_line.h"
#include "text/resource_module.h"
#include "trace/trace_scope.h"
#include "win/com_apartment.h"
#include "win/wide_text.h"

namespace {

void Run(HINSTANCE instance, const ZTTraceNS::CTraceScope& scope) {
    ::InitCommonControls();
    const CLanguageSatellite satellite;
    ZTTraceNS::Trace(scope, 0, "Processing Command Line arguments");
    const std::wstring_view commandLine = ::GetCommandLineW();
    // Decided on the tail as the program's entry would see it, so trailing blanks after
    // the program's name still count as no arguments.
    if (core::CommandTail(AsU16(commandLine)).empty()) {
        RunMainWindow(instance);
    } else {
        DispatchCommandLine(commandLine, scope);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    ZTTraceNS::CTraceScope scope("WinMain");
    const CComApartment apartment;
    if (apartment.Ok()) Run(instance, scope);
    return 0;
}
