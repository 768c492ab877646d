// ZTFileEn: one job per start, chosen on the command line; without arguments, the main
// window. The exit code is always 0: every action reports its own outcome.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>
#include <objbase.h>

#include "app/startup/command_dispatch.h"
#include "app/startup/language_satellite.h"
#include "app/startup/main_wnd.h"
#include "app/wide_text.h"
#include "core/command_tail.h"
#include "trace/trace_scope.h"

namespace {

// The main thread's single-threaded apartment, left when start-up ends.
class CComApartment {
public:
    CComApartment() : ok_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~CComApartment() {
        if (ok_) ::CoUninitialize();
    }
    CComApartment(const CComApartment&) = delete;
    CComApartment& operator=(const CComApartment&) = delete;
    bool Ok() const { return ok_; }

private:
    bool ok_;
};

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
