#include "setup/protected_key.h"

#include <memory>
#include <vector>

#include "win/hresult.h"
#include "win/registry.h"
#include "win/unique_handle.h"

namespace {

constexpr DWORD kFullControl = 0xF003F;  // KEY_ALL_ACCESS
constexpr DWORD kRead = 0x20019;         // KEY_READ

void FreeSidValue(PSID sid) {
    ::FreeSid(sid);
}
using Sid = UniqueHandle<SimpleTraits<PSID, nullptr, FreeSidValue>>;

// Built from authorities rather than by well-known type, which systems before XP lack.
Sid NtSid(DWORD first, DWORD second = 0, BYTE count = 1) {
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    Sid sid;
    if (!::AllocateAndInitializeSid(&nt, count, first, second, 0, 0, 0, 0, 0, 0, sid.put())) sid.release();
    return sid;
}
Sid LocalSystemSid() {
    return NtSid(SECURITY_LOCAL_SYSTEM_RID);
}
Sid AliasSid(DWORD alias) {
    return NtSid(SECURITY_BUILTIN_DOMAIN_RID, alias, 2);
}

bool IsMember(const Sid& sid) {
    BOOL member = FALSE;
    return sid && ::CheckTokenMembership(nullptr, sid.get(), &member) && member;
}

bool RunsAsLocalSystem() {
    const Sid system = LocalSystemSid();
    KernelHandle token;
    if (!system || !::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put())) return false;
    DWORD bytes = 0;
    ::GetTokenInformation(token.get(), TokenUser, nullptr, 0, &bytes);
    std::vector<BYTE> user(bytes);
    return bytes != 0 && ::GetTokenInformation(token.get(), TokenUser, user.data(), bytes, &bytes) &&
           ::EqualSid(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, system.get());
}

}  // namespace

bool RegistersAsAdministrator() {
    return RunsAsLocalSystem() || IsMember(AliasSid(DOMAIN_ALIAS_RID_ADMINS));
}

bool ProtectKey(HKEY key) {
    const Sid system = LocalSystemSid();
    const Sid administrators = AliasSid(DOMAIN_ALIAS_RID_ADMINS);
    const Sid users = AliasSid(DOMAIN_ALIAS_RID_USERS);
    if (!system || !administrators || !users) return false;
    const struct {
        PSID sid;
        DWORD rights;
    } entries[] = {{system.get(), kFullControl}, {administrators.get(), kFullControl}, {users.get(), kRead}};
    DWORD aclBytes = sizeof(ACL);
    for (const auto& entry : entries) {
        aclBytes += sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + ::GetLengthSid(entry.sid);
    }
    std::vector<BYTE> aclBuffer(aclBytes);
    auto* acl = reinterpret_cast<ACL*>(aclBuffer.data());
    if (!::InitializeAcl(acl, aclBytes, ACL_REVISION)) return false;
    for (const auto& entry : entries) {
        if (!::AddAccessAllowedAceEx(acl, ACL_REVISION, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE,
                                     entry.rights, entry.sid)) {
            return false;
        }
    }
    SECURITY_DESCRIPTOR descriptor{};
    return ::InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
           ::SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE) &&
           ::SetSecurityDescriptorControl(&descriptor, SE_DACL_PROTECTED, SE_DACL_PROTECTED) &&
           SUCCEEDED(FailureOf([&] { SetKeySecurity(key, descriptor); }));
}
