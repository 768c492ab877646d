#include "dashboard_test.h"

#include <gtest/gtest.h>

#include <cstdlib>

std::string StoreBody(const std::string& items) {
    return "<ZTFileProtectionConfig><DecryptedItems>" + items + "</DecryptedItems></ZTFileProtectionConfig>";
}

std::string Item(const std::wstring& folder, const std::string& name, bool isFolder, DWORD decryptTime) {
    const std::string path(folder.begin(), folder.end());
    const std::string time =
        decryptTime ? "<decrypt_time>" + std::to_string(decryptTime) + "</decrypt_time>" : "";
    return "<item name=\"" + name + "\" folder=\"" + (isFolder ? "1" : "0") + "\"><path>" + path + "</path>" +
           time + "</item>";
}

std::string MissingItem(int number) {
    return Item(L"C:\\nowhere\\at all", "missing" + std::to_string(number) + ".txt");
}

std::string ManyMissingItems(int count) {
    std::string items;
    for (int i = 0; i < count; ++i) items += MissingItem(i);
    return items;
}

PlugIn::PlugIn() : library_(::LoadLibraryW(Path().c_str())) {
    EXPECT_TRUE(library_) << "ZTFileProtect.dll beside the test program cannot be loaded";
}

std::wstring PlugIn::Path() const {
    return TestProgramFolder() + L"ZTFileProtect.dll";
}

std::wstring PlugIn::String(UINT id) const {
    wchar_t text[1024] = {};
    ::LoadStringW(Module(), id, text, 1024);
    return text;
}

MessageSink::MessageSink() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"ZtDashboardTestSink";
    ::RegisterClassW(&windowClass);
    window_ = ::CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                windowClass.hInstance, this);
    EXPECT_NE(window_, nullptr);
}

LRESULT CALLBACK MessageSink::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        ::SetWindowLongPtrW(
            window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    } else if (message == WM_COMMAND || message >= WM_USER) {
        auto* sink = reinterpret_cast<MessageSink*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        sink->received_.push_back(MSG{window, message, wParam, lParam, 0, {}});
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

bool MessageSink::PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    for (;;) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        if (condition()) return true;
        if (::GetTickCount64() >= end) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

bool Eventually(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (::GetTickCount64() >= end) return false;
        ::Sleep(20);
    }
    return true;
}

void WaitForScreenshot(const std::wstring& name) {
    const char* folder = std::getenv("ZT_DASHBOARD_SCREENSHOT");
    if (!folder) return;
    const std::wstring windowsFolder = FromBuildPath(folder);
    WriteFileBytes(windowsFolder + L"\\ready-" + name, {});
    EXPECT_TRUE(Eventually([&] { return FileExists(windowsFolder + L"\\taken-" + name); }, 30000))
        << "the screenshot script did not answer";
}
