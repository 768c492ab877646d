#pragma once
#include <oaidl.h>
#include <unknwn.h>
#include <windows.h>

#include <commctrl.h>

// What the dashboard knows of a plug-in, from the plug-in interface it publishes; the host
// is another maker's program and does not build against a plug-in's own headers.

// The descriptor a plug-in's ZTGetPropertyPageEx hands over: a 44-byte LocalAlloc block in
// the 32-bit layout, its title a LocalAlloc block of its own; both are the host's to free.
struct PlugInPageInfo {
    DWORD size;
    HPROPSHEETPAGE page;
    DWORD kind;
    wchar_t* title;
    DWORD unused1[2];
    HINSTANCE module;
    DWORD iconId;
    DWORD unused2[3];
};
using GetPropertyPageFn = HRESULT(STDAPICALLTYPE*)(PlugInPageInfo** info, UINT index);

// Plug-ins register their module's path as a value under this key.
inline constexpr wchar_t kPlugInsKey[] = L"SOFTWARE\\Zentaro\\Applications\\DashBoard\\PlugIns";

// The file-protection plug-in's status object.
inline constexpr CLSID kFileProtectStatusClass = {
    0xEB28F6E5, 0xD5C2, 0x4012, {0x8D, 0x12, 0x4F, 0x58, 0xF3, 0xE5, 0x30, 0x80}};
inline constexpr IID kFileProtectStatusInterface = {
    0x39440055, 0x9375, 0x4DA6, {0xA1, 0x5F, 0xB0, 0x85, 0xD7, 0x2A, 0x88, 0xFC}};

#pragma GCC diagnostic push
// Released through COM, never deleted through this interface.
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
struct IFileProtectStatus : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE HasDecryptedItems(VARIANT_BOOL* flag) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNotifyTimeout(LONG* seconds) = 0;
};
#pragma GCC diagnostic pop
