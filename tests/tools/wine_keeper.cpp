// Keeps Wine's desktop process and COM services alive for a whole test run. Started outside
// CTest with its output discarded, so that those long-lived processes never inherit a test's
// output pipe (CTest would wait for them to exit after every test that opens a window or
// initialises COM). Ended by stopping the wineserver.
#include <windows.h>

#include <objbase.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"ZTWineKeeper";
    ::RegisterClassW(&windowClass);
    // A hidden top-level window is enough to start the desktop process.
    ::CreateWindowExW(0, windowClass.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 1, 1, nullptr, nullptr,
                      instance, nullptr);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
    ::CoUninitialize();
    return 0;
}
