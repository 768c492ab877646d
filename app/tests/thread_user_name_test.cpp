#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/authentication/thread_user_name.h"
#include "win/unique_handle.h"

namespace {

std::wstring ProcessAccount() {
    wchar_t name[256] = {};
    DWORD size = 256;
    EXPECT_TRUE(::GetUserNameW(name, &size));
    return name;
}

bool ThreadImpersonates() {
    KernelHandle token;
    return ::OpenThreadToken(::GetCurrentThread(), TOKEN_QUERY, TRUE, token.put());
}

}  // namespace

TEST(ThreadUserName, IsTheDomainAndTheAccountOfTheProcessUser) {
    const std::wstring name = ThreadUserName();
    const std::wstring account = L"\\" + ProcessAccount();
    ASSERT_GT(name.size(), account.size());
    EXPECT_EQ(name.substr(name.size() - account.size()), account);
    EXPECT_FALSE(ThreadImpersonates()) << "the self-impersonation is undone";
}

TEST(ThreadUserName, LeavesAnImpersonatingThreadImpersonating) {
    ASSERT_TRUE(::ImpersonateSelf(SecurityImpersonation));
    const std::wstring name = ThreadUserName();
    EXPECT_TRUE(ThreadImpersonates());
    ::RevertToSelf();
    EXPECT_EQ(name, ThreadUserName());
}
