#pragma once
#include <windows.h>

#include <atomic>

#include "dashboard/file_protect_status_interface.h"
#include "win/com_server.h"

#pragma GCC diagnostic push
// COM objects end through Release, never through a pointer to an interface, so the
// interfaces' non-virtual destructors are as COM means them.
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
// The status object the dashboard asks whether to remind the user of decrypted items. It
// keeps no state: every call reads the store file or the registry afresh, so any thread of
// the host may call it. It may be aggregated: its IUnknown is then the outer object's.
class CZTFileProtectStatus final : public IZTFileProtectStatus {
public:
    // The class factory's creation function.
    static HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object);

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // A missing, unreadable or malformed store file holds no items. E_INVALIDARG without
    // somewhere to write the answer; S_OK otherwise.
    STDMETHODIMP HasDecryptedItems(VARIANT_BOOL* flag) override;
    // The stored interval unchanged when reminders are on, 0 when they are off; missing
    // settings give their defaults. E_INVALIDARG without somewhere to write the answer.
    STDMETHODIMP GetNotifyTimeout(LONG* seconds) override;

private:
    // The object's own IUnknown, which counts the references and ends the object; when the
    // object is aggregated, only the outer object holds it.
    class CInnerUnknown final : public IUnknown {
    public:
        explicit CInnerUnknown(CZTFileProtectStatus& owner) : owner_(owner) {}
        STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
        STDMETHODIMP_(ULONG) AddRef() override;
        STDMETHODIMP_(ULONG) Release() override;

    private:
        friend class CZTFileProtectStatus;
        ~CInnerUnknown() = default;

        CZTFileProtectStatus& owner_;
        std::atomic<ULONG> references_{1};
    };

    explicit CZTFileProtectStatus(IUnknown* outer) : inner_(*this), controlling_(outer ? outer : &inner_) {}
    ~CZTFileProtectStatus() = default;

    CInnerUnknown inner_;
    IUnknown* controlling_;
    CModuleLock moduleLock_;
};
#pragma GCC diagnostic pop
