#include "secret/crypt_context.h"

#include <wincrypt.h>
#include <atomic>

#include "secret/provider_repair.h"
#include "trace/trace_scope.h"
#include "win/hresult.h"
#include "win/unique_handle.h"

namespace {

constexpr wchar_t kCheckMutex[] = L"Zentaro_VerifyCriptoprovider";

std::atomic<bool> providerChecked{false};

CryptProvider Acquire(const wchar_t* providerName) {
    CryptProvider provider;
    if (!::CryptAcquireContextW(provider.put(), nullptr, providerName, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT))
        provider.reset();
    return provider;
}

bool EnhancedProviderPresent() {
    return static_cast<bool>(Acquire(MS_ENHANCED_PROV_W));
}

class MutexOwnership {
public:
    explicit MutexOwnership(HANDLE mutex) : mutex_(mutex) { ::WaitForSingleObject(mutex_, INFINITE); }
    ~MutexOwnership() { ::ReleaseMutex(mutex_); }
    MutexOwnership(const MutexOwnership&) = delete;
    MutexOwnership& operator=(const MutexOwnership&) = delete;

private:
    HANDLE mutex_;
};

}  // namespace

CCryptContext::CCryptContext(bool preferEnhanced) {
    if (!providerChecked) CheckProvider();
    enhanced_ = preferEnhanced && EnhancedProviderPresent();
    Check(::CryptAcquireContextW(provider_.put(), nullptr, enhanced_ ? MS_ENHANCED_PROV_W : MS_DEF_PROV_W,
                                 PROV_RSA_FULL, CRYPT_VERIFYCONTEXT));
}

void CCryptContext::CheckProvider() {
    trace::CTraceScope scope("CCryptContext::CheckProvider");
    trace::Trace(scope, 0, "Start...");
    KernelHandle mutex(::CreateMutexW(nullptr, FALSE, kCheckMutex));
    if (!mutex) ThrowLastError();
    MutexOwnership owner(mutex.get());
    if (providerChecked) return;
    try {
        RepairProviders();
    } catch (...) {
        // A failed repair must not stop the suite from trying the providers it has.
    }
    providerChecked = true;
    trace::Trace(scope, 0, "Finished...");
}

DWORD DigestInto(ALG_ID algorithm, std::span<const BYTE> data, DigestBuffer& digest) {
    const CCryptContext context(true);
    CryptHashHandle hash;
    Check(::CryptCreateHash(context.Get(), algorithm, 0, 0, hash.put()));
    Check(::CryptHashData(hash.get(), data.data(), static_cast<DWORD>(data.size()), 0));
    DWORD size = static_cast<DWORD>(digest.size());
    Check(::CryptGetHashParam(hash.get(), HP_HASHVAL, digest.data(), &size, 0));
    return size;
}
