#pragma once
#include <windows.h>

#include <span>

#include "dashboard/file_protect_status_interface.h"
#include "win/com_server.h"

#pragma GCC diagnostic push
// COM objects end through Release, never through a pointer to an interface, so the
// interfaces' non-virtual destructors are as COM means them.
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
// The status object the dashboard asks whether to remind the user of decrypted items. It
// keeps no state: every call reads the store file or the registry afresh, so any thread of
// the host may call it. COM makes it as CComObject<CZTFileProtectStatus>, which may be
// aggregated.
class CZTFileProtectStatus : public IZTFileProtectStatus {
public:
    // A missing, unreadable or malformed store file holds no items. E_INVALIDARG without
    // somewhere to write the answer; S_OK otherwise.
    STDMETHODIMP HasDecryptedItems(VARIANT_BOOL* flag) override;
    // The stored interval unchanged when reminders are on, 0 when they are off; missing
    // settings give their defaults. E_INVALIDARG without somewhere to write the answer.
    STDMETHODIMP GetNotifyTimeout(LONG* seconds) override;

protected:
    CZTFileProtectStatus() = default;
    ~CZTFileProtectStatus() = default;
    static std::span<const ComInterface> Interfaces();
};
#pragma GCC diagnostic pop
