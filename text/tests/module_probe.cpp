// A plug-in for the module test: the text layer linked into a DLL, answering from inside it
// what it takes for "this module". The test host loads it from another folder.
#include <windows.h>

#include <string>

#include "text/res_string.h"
#include "text/settings.h"
#include "win/this_module.h"

namespace {

int CopyOut(const std::wstring& text, wchar_t* out, int units) {
    if (units <= 0) return 0;
    const std::size_t length = std::min<std::size_t>(text.size(), static_cast<std::size_t>(units - 1));
    text.copy(out, length);
    out[length] = L'\0';
    return static_cast<int>(length);
}

}  // namespace

// 0: the folder of "this module"; 1: string 1 of the resources (with the product name put in);
// 2: the setting "zt_module_probe" as the settings library answers it, or "failed".
extern "C" __declspec(dllexport) int WINAPI ProbeModule(int what, wchar_t* out, int units) {
    std::wstring answer;
    if (what == 0) answer = ThisModuleFolder();
    if (what == 1) answer = LoadResString(1);
    if (what == 2 && FAILED(GetSetting(L"zt_module_probe", answer, false))) answer = L"failed";
    return CopyOut(answer, out, units);
}
