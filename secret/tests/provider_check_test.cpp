#include <gtest/gtest.h>

#include <thread>

#include "secret/crypt_context.h"
#include "secret/provider_repair.h"
#include "test_support.h"
#include "win/unique_handle.h"

namespace {

constexpr wchar_t kProviders[] = L"Software\\Microsoft\\Cryptography\\Defaults\\Provider";
constexpr wchar_t kTestProvider[] =
    L"Software\\Microsoft\\Cryptography\\Defaults\\Provider\\ZT Test Provider";

std::wstring FakeProviderPath() {
    wchar_t exe[MAX_PATH];
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring path = exe;
    return path.substr(0, path.find_last_of(L'\\') + 1) + TEXT(FAKE_PROVIDER_DLL);
}

class ProviderRepairTest : public ::testing::Test {
protected:
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\ZTTest"); }

    void RegisterFakeProvider(DWORD typeKind, const BYTE* type, DWORD typeSize) {
        RegKey key;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kTestProvider, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                    key.put(), nullptr),
                  ERROR_SUCCESS);
        const std::wstring path = FakeProviderPath();
        ::RegSetValueExW(key.get(), L"Image Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                         static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
        ::RegSetValueExW(key.get(), L"Type", 0, typeKind, type, typeSize);
    }

    static DWORD Registrations() {
        DWORD count = 0;
        DWORD size = sizeof count;
        ::RegGetValueW(HKEY_CURRENT_USER, L"Software\\ZTTest\\FakeProvider", L"Registered", RRF_RT_REG_DWORD,
                       nullptr, &count, &size);
        return count;
    }

    RegistryCleanup cleanup_{HKEY_LOCAL_MACHINE, kTestProvider};
};

TEST_F(ProviderRepairTest, FullRsaProvidersAreRegisteredAgain) {
    const DWORD fullRsa = PROV_RSA_FULL;
    RegisterFakeProvider(REG_DWORD, reinterpret_cast<const BYTE*>(&fullRsa), sizeof fullRsa);
    ReregisterFullRsaProviders();
    EXPECT_EQ(Registrations(), 1u);
}

TEST_F(ProviderRepairTest, OtherProviderTypesAreLeftAlone) {
    const DWORD schannel = PROV_RSA_SCHANNEL;
    RegisterFakeProvider(REG_DWORD, reinterpret_cast<const BYTE*>(&schannel), sizeof schannel);
    ReregisterFullRsaProviders();
    EXPECT_EQ(Registrations(), 0u);
}

TEST_F(ProviderRepairTest, ATypeThatIsNoNumberIsLeftAlone) {
    const wchar_t text[] = L"1";
    RegisterFakeProvider(REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
    ReregisterFullRsaProviders();
    EXPECT_EQ(Registrations(), 0u);
}

TEST_F(ProviderRepairTest, TheRealProvidersStillWorkAfterTheWalk) {
    ReregisterFullRsaProviders();
    EXPECT_TRUE(CCryptContext(true).IsEnhanced());
    EXPECT_FALSE(CCryptContext(false).IsEnhanced());
    RegKey providers;
    EXPECT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kProviders, 0, KEY_READ, providers.put()), ERROR_SUCCESS);
}

TEST(CryptContext, CheckProviderLeavesTheMutexFree) {
    CCryptContext::CheckProvider();
    // Another process (here another thread) must be able to take the mutex at once.
    DWORD wait = WAIT_FAILED;
    std::thread other([&] {
        KernelHandle mutex(::CreateMutexW(nullptr, FALSE, L"Zentaro_VerifyCriptoprovider"));
        wait = ::WaitForSingleObject(mutex.get(), 0);
        if (wait == WAIT_OBJECT_0) ::ReleaseMutex(mutex.get());
    });
    other.join();
    EXPECT_EQ(wait, WAIT_OBJECT_0);
}

}  // namespace
