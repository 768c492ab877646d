#include "engine/source_security.h"

#include <aclapi.h>

#include "win/long_path.h"
#include "win/windows_version.h"

CSourceSecurity::CSourceSecurity(const std::wstring& source) {
    valid_ = IsNtPlatform() && Load(source);
}

bool CSourceSecurity::Load(const std::wstring& source) {
    std::wstring form = LongPathForm(source);
    auto* path = form.data();
    PACL dacl = nullptr;
    PSID group = nullptr;
    if (::GetNamedSecurityInfoW(path, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                                nullptr, daclDescriptor_.put()) != ERROR_SUCCESS)
        return false;
    if (::GetNamedSecurityInfoW(path, SE_FILE_OBJECT, GROUP_SECURITY_INFORMATION, nullptr, &group, nullptr,
                                nullptr, groupDescriptor_.put()) != ERROR_SUCCESS)
        return false;
    if (!::InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) ||
        !::SetSecurityDescriptorDacl(&descriptor_, TRUE, dacl, FALSE) ||
        !::SetSecurityDescriptorGroup(&descriptor_, group, FALSE))
        return false;
    attributes_.nLength = sizeof(attributes_);
    attributes_.lpSecurityDescriptor = &descriptor_;
    attributes_.bInheritHandle = FALSE;
    return true;
}
