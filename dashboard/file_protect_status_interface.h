#pragma once
#include <oaidl.h>
#include <unknwn.h>
#include <windows.h>

// The dashboard's status object: whether decrypted items exist and after how many seconds
// the user is to be reminded of them. Derived directly from IUnknown; no type library.
// {39440055-9375-4DA6-A15F-B085D72A88FC}
inline constexpr IID IID_IZTFileProtectStatus = {
    0x39440055, 0x9375, 0x4DA6, {0xA1, 0x5F, 0xB0, 0x85, 0xD7, 0x2A, 0x88, 0xFC}};
// CZTFileProtectStatus, {EB28F6E5-D5C2-4012-8D12-4F58F3E53080}
inline constexpr CLSID CLSID_ZTFileProtectStatus = {
    0xEB28F6E5, 0xD5C2, 0x4012, {0x8D, 0x12, 0x4F, 0x58, 0xF3, 0xE5, 0x30, 0x80}};

#pragma GCC diagnostic push
// COM objects end through Release, never through a pointer to an interface, so the
// interfaces' non-virtual destructors are as COM means them.
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
struct IZTFileProtectStatus : public IUnknown {
    // VARIANT_TRUE when the decrypted-items file exists and holds an item.
    virtual HRESULT STDMETHODCALLTYPE HasDecryptedItems(VARIANT_BOOL* flag) = 0;
    // The reminder interval in seconds, 0 when reminders are off.
    virtual HRESULT STDMETHODCALLTYPE GetNotifyTimeout(LONG* seconds) = 0;

protected:
    ~IZTFileProtectStatus() = default;
};
#pragma GCC diagnostic pop
