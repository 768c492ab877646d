#include "app/authentication/thread_user_name.h"

#include <windows.h>

#include <vector>

#include "win/hresult.h"
#include "win/unique_handle.h"

namespace {

// Impersonates the process for the lifetime of the object unless the thread already
// impersonates; afterwards the thread's own token, if any, is back in place.
class SelfImpersonation {
public:
    SelfImpersonation() {
        if (!::OpenThreadToken(::GetCurrentThread(), TOKEN_IMPERSONATE, TRUE, kept_.put())) {
            if (::GetLastError() != ERROR_NO_TOKEN) ThrowLastError();
            Check(::ImpersonateSelf(SecurityImpersonation));
        }
    }
    ~SelfImpersonation() {
        ::RevertToSelf();
        if (kept_) ::SetThreadToken(nullptr, kept_.get());
    }
    SelfImpersonation(const SelfImpersonation&) = delete;
    SelfImpersonation& operator=(const SelfImpersonation&) = delete;

private:
    KernelHandle kept_;
};

KernelHandle ThreadToken() {
    const SelfImpersonation impersonation;
    KernelHandle token;
    Check(::OpenThreadToken(::GetCurrentThread(), MAXIMUM_ALLOWED, TRUE, token.put()));
    return token;
}

std::vector<BYTE> TokenUserOf(HANDLE token) {
    DWORD size = 0;
    ::GetTokenInformation(token, ::TokenUser, nullptr, 0, &size);
    if (size == 0) ThrowLastError();
    std::vector<BYTE> user(size);
    Check(::GetTokenInformation(token, ::TokenUser, user.data(), size, &size));
    return user;
}

std::wstring AccountName(PSID sid) {
    DWORD nameSize = 0, domainSize = 0;
    SID_NAME_USE use{};
    ::LookupAccountSidW(nullptr, sid, nullptr, &nameSize, nullptr, &domainSize, &use);
    if (nameSize == 0) ThrowLastError();
    std::vector<wchar_t> name(nameSize), domain(domainSize + 1);
    Check(::LookupAccountSidW(nullptr, sid, name.data(), &nameSize, domain.data(), &domainSize, &use));
    return std::wstring(domain.data()) + L"\\" + name.data();
}

}  // namespace

std::wstring ThreadUserName() {
    const KernelHandle token = ThreadToken();
    const std::vector<BYTE> user = TokenUserOf(token.get());
    const PSID sid = reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid;
    if (!::IsValidSid(sid)) ThrowHr(E_INVALIDARG);
    return AccountName(sid);
}
