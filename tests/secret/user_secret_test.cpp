// Obtaining the user's secret through the real dialogs and the verification and fingerprint
// stand-ins, answered by uidrive as a person would answer them.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <future>
#include <string>
#include <vector>

#include "app/authentication/thread_user_name.h"
#include "app/authentication/tw_user_info.h"
#include "app/authentication/ztfp_api.h"
#include "app/resources/resource_ids.h"
#include "core/utf8.h"
#include "engine_test.h"
#include "process_run.h"
#include "text/res_string.h"
#include "win/wide_text.h"

namespace {

constexpr int kEncrypt = 1;
constexpr int kDecrypt = 2;
constexpr int kDecryptAndOpen = 4;

// Each dialog is found by the controls only it has.
const std::wstring kVerification = L"--controls 2001 ";
const std::wstring kLogonPassword = L"--controls 2001,2002 ";
const std::wstring kNewPassword = L"--controls 1000,1001,1033 ";
const std::wstring kNoNewPassword = L"--timeout 1500 " + kNewPassword + L"--click 2";
const std::wstring kNoVerification = L"--timeout 1500 " + kVerification + L"--click 2";

// An error message box: its text is read, then it is closed with OK.
std::wstring MessageBoxAnswer() {
    return L"--title \"" + LoadResString(IDS_MESSAGE_CAPTION) +
           L"\" --controls 65535 --get 65535 --click 1 --gone";
}

std::string Narrow(const std::wstring& text) {
    return core::Utf16ToUtf8(AsU16(text));
}

struct Answer {
    DWORD code = 0;
    std::string output;
};

// Each step's uidrive starts once the one before has ended, while the test shows the dialogs.
std::future<std::vector<Answer>> AnswerInOrder(std::vector<std::wstring> steps) {
    return std::async(std::launch::async, [steps = std::move(steps)] {
        std::vector<Answer> answers;
        for (const std::wstring& step : steps) {
            UiDriver driver(step);
            Answer answer;
            answer.code = driver.Finish(answer.output);
            answers.push_back(std::move(answer));
        }
        return answers;
    });
}

// Every step found its dialog and did what it was told.
void ExpectAllAnswered(const std::vector<Answer>& answers) {
    for (const Answer& answer : answers) EXPECT_EQ(answer.code, 0u) << answer.output;
}

Bytes Copied(std::span<const BYTE> bytes) {
    return {bytes.begin(), bytes.end()};
}

std::string Hex(const Bytes& bytes) {
    std::string hex;
    char pair[3];
    for (BYTE byte : bytes) {
        std::snprintf(pair, sizeof(pair), "%02x", byte);
        hex += pair;
    }
    return hex;
}

class UserSecret : public ::testing::Test {
protected:
    static void StoreSecret(Bytes secret) {
        const std::wstring user = ThreadUserName();
        DATA_BLOB blob{static_cast<DWORD>(secret.size()), secret.data()};
        ASSERT_EQ(ztfp::WriteSecretContent(user.c_str(), L"Tapwise Crypto", &blob), S_OK);
    }

    static bool AnySecretStored() {
        RegKey key;
        DWORD values = 0;
        return ::RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Zentaro\\Secrets", 0, KEY_QUERY_VALUE,
                               key.put()) == ERROR_SUCCESS &&
               ::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                                  nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
               values > 0;
    }

    // Where the stand-ins keep secrets and issued handles, and the settings library's answers.
    RegistryCleanup secrets_{HKEY_CURRENT_USER, L"SOFTWARE\\Zentaro\\Secrets"};
    RegistryCleanup verification_{HKEY_CURRENT_USER, L"SOFTWARE\\Zentaro\\Verification"};
    RegistryCleanup settings_{HKEY_CURRENT_USER, L"SOFTWARE\\Zentaro\\Settings"};
};

TEST_F(UserSecret, FirstUseAsksForANewPasswordUntilBothEntriesMatchAndStoresItsMd4) {
    auto answers = AnswerInOrder({
        kVerification + L"--click 1 --gone",
        kNewPassword + L"--get 1033 --click 1",
        MessageBoxAnswer(),
        kNewPassword + L"--set 1000 \"first choice\" --set 1001 \"first chioce\" --click 1",
        MessageBoxAnswer(),
        kNewPassword + L"--set 1000 \"first choice\" --set 1001 \"first choice\" --click 1 --gone",
    });
    CTWUserInfo user(kEncrypt);
    EXPECT_EQ(user.LoadCurrentUserSecret(nullptr), S_OK);
    const std::vector<Answer> done = answers.get();
    ExpectAllAnswered(done);
    ASSERT_EQ(done.size(), 6u);
    EXPECT_NE(done[1].output.find("1033: " + Narrow(LoadResString(IDS_PASSWORD_PROMPT))), std::string::npos);
    EXPECT_NE(done[2].output.find(Narrow(LoadResString(IDS_PASSWORD_EMPTY))), std::string::npos)
        << done[2].output;
    EXPECT_NE(done[4].output.find(Narrow(LoadResString(IDS_PASSWORDS_DIFFER))), std::string::npos)
        << done[4].output;
    EXPECT_EQ(Copied(user.Secret()), PasswordSecret(L"first choice"));

    // A later run is only verified: the stored secret comes back without the password dialog.
    auto later = AnswerInOrder({kVerification + L"--click 1 --gone", kNoNewPassword});
    CTWUserInfo laterUser(kDecrypt);
    EXPECT_EQ(laterUser.LoadCurrentUserSecret(nullptr), S_OK);
    const std::vector<Answer> laterDone = later.get();
    EXPECT_EQ(laterDone[0].code, 0u) << laterDone[0].output;
    EXPECT_EQ(laterDone[1].code, 1u) << "the password dialog came again";
    EXPECT_EQ(Copied(laterUser.Secret()), PasswordSecret(L"first choice"));
}

TEST_F(UserSecret, AHeldSecretIsReturnedAgainWithoutAnyDialog) {
    StoreSecret({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    CTWUserInfo user(kEncrypt);
    auto first = AnswerInOrder({kVerification + L"--click 1 --gone"});
    ASSERT_EQ(user.LoadCurrentUserSecret(nullptr), S_OK);
    ExpectAllAnswered(first.get());

    auto second = AnswerInOrder({kNoVerification});
    EXPECT_EQ(user.LoadCurrentUserSecret(nullptr), S_OK);
    EXPECT_EQ(second.get()[0].code, 1u) << "the verification dialog came again";
    EXPECT_EQ(Copied(user.Secret()), (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST_F(UserSecret, VerificationAsksToEncryptOnlyWhenEncrypting) {
    StoreSecret({42});
    const std::pair<int, UINT> cases[] = {{kEncrypt, IDS_VERIFY_ENCRYPT},
                                          {kDecrypt, IDS_VERIFY_DECRYPT},
                                          {kDecryptAndOpen, IDS_VERIFY_DECRYPT}};
    for (const auto& [kind, promptId] : cases) {
        auto answers = AnswerInOrder({kVerification + L"--get 2001 --click 1 --gone"});
        CTWUserInfo user(kind);
        EXPECT_EQ(user.LoadCurrentUserSecret(nullptr), S_OK) << "kind " << kind;
        const std::vector<Answer> done = answers.get();
        ExpectAllAnswered(done);
        EXPECT_NE(done[0].output.find("2001: " + Narrow(LoadResString(promptId)) + "\n"), std::string::npos)
            << "kind " << kind << ": " << done[0].output;
        EXPECT_EQ(Copied(user.Secret()), Bytes{42});
    }
}

TEST_F(UserSecret, CancelledVerificationIsErrorCancelledWithNoSecret) {
    StoreSecret({42});
    auto answers = AnswerInOrder({kVerification + L"--click 2 --gone"});
    CTWUserInfo user(kEncrypt);
    EXPECT_EQ(user.LoadCurrentUserSecret(nullptr), HRESULT_FROM_WIN32(ERROR_CANCELLED));
    ExpectAllAnswered(answers.get());
    EXPECT_TRUE(user.Secret().empty());
}

TEST_F(UserSecret, CancelledNewPasswordGivesNoSecretAndStoresNothing) {
    auto answers = AnswerInOrder({kVerification + L"--click 1 --gone", kNewPassword + L"--click 2 --gone"});
    CTWUserInfo user(kEncrypt);
    EXPECT_EQ(user.LoadCurrentUserSecret(nullptr), S_FALSE);
    ExpectAllAnswered(answers.get());
    EXPECT_TRUE(user.Secret().empty());
    EXPECT_FALSE(AnySecretStored());
}

// A key derived from nothing would be the same for every user.
TEST_F(UserSecret, AnEmptyStoredSecretIsRefused) {
    BYTE none = 0;
    DATA_BLOB empty{0, &none};
    ASSERT_EQ(ztfp::WriteSecretContent(ThreadUserName().c_str(), L"Tapwise Crypto", &empty), S_OK);
    auto answers = AnswerInOrder({kVerification + L"--click 1 --gone"});
    CTWUserInfo user(kEncrypt);
    EXPECT_EQ(user.LoadCurrentUserSecret(nullptr), NTE_BAD_DATA);
    ExpectAllAnswered(answers.get());
    EXPECT_TRUE(user.Secret().empty());
}

// The probe's report: its result and the secret it held, in hex.
struct ProbeReport {
    unsigned long result = 0xFFFFFFFF;
    std::string secret;
};

// Runs secret_probe in a process of its own, so that it reads the settings afresh.
ProbeReport RunProbe(int kind) {
    CapturedRun probe(L"secret_probe.exe", std::to_wstring(kind));
    std::string text;
    probe.Finish(text, 60000);
    ProbeReport report;
    char secret[1024] = {};
    std::sscanf(text.c_str(), "result 0x%lx secret %1023s", &report.result, secret);
    report.secret = secret;
    return report;
}

TEST_F(UserSecret, FirstRunSetsAPasswordAndALaterRunOnlyVerifies) {
    auto firstRun = AnswerInOrder({
        kVerification + L"--click 1 --gone",
        kNewPassword + L"--set 1000 \"s3cret pass\" --set 1001 \"s3cret pass\" --click 1 --gone",
    });
    const ProbeReport first = RunProbe(kEncrypt);
    ExpectAllAnswered(firstRun.get());
    EXPECT_EQ(first.result, 0ul);
    EXPECT_EQ(first.secret, Hex(PasswordSecret(L"s3cret pass")));

    auto laterRun = AnswerInOrder({kVerification + L"--click 1 --gone", kNoNewPassword});
    const ProbeReport later = RunProbe(kDecrypt);
    const std::vector<Answer> done = laterRun.get();
    EXPECT_EQ(done[0].code, 0u) << done[0].output;
    EXPECT_EQ(done[1].code, 1u) << "the password dialog came again";
    EXPECT_EQ(later.result, 0ul);
    EXPECT_EQ(later.secret, first.secret);
}

// In personal mode the logon password, handed over obfuscated for the probe's process, is
// what the user is authenticated with; an empty one gives no secret.
TEST_F(UserSecret, PersonalModeAuthenticatesWithTheLogonPassword) {
    SetRegistryString(HKEY_CURRENT_USER, L"SOFTWARE\\Zentaro\\Settings", L"is_personalmode", L"1");
    StoreSecret({9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 1, 2, 3, 4, 5, 6});

    auto typed = AnswerInOrder({kLogonPassword + L"--set 2002 \"logon pass\" --click 1 --gone"});
    const ProbeReport withPassword = RunProbe(kEncrypt);
    ExpectAllAnswered(typed.get());
    EXPECT_EQ(withPassword.result, 0ul);
    EXPECT_EQ(withPassword.secret, "09080706050403020100010203040506");

    auto empty = AnswerInOrder({kLogonPassword + L"--click 1 --gone"});
    const ProbeReport withoutPassword = RunProbe(kEncrypt);
    ExpectAllAnswered(empty.get());
    EXPECT_EQ(withoutPassword.result, 1ul);
    EXPECT_EQ(withoutPassword.secret, "");

    auto cancelled = AnswerInOrder({kLogonPassword + L"--click 2 --gone"});
    EXPECT_EQ(RunProbe(kEncrypt).result, static_cast<unsigned long>(HRESULT_FROM_WIN32(ERROR_CANCELLED)));
    ExpectAllAnswered(cancelled.get());
}

}  // namespace
