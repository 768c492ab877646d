// Obtaining the user's secret through the real dialogs and the verification and fingerprint
// stand-ins, answered by uidrive as a person would answer them.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <future>
#include <string>
#include <vector>

#include "app/authentication/library_secret.h"
#include "app/authentication/thread_user_name.h"
#include "app/authentication/ztfp_api.h"
#include "app/resources/resource_ids.h"
#include "companions/ztsdapi/resource_ids.h"
#include "core/command_line/operation_kind.h"
#include "core/text/utf8.h"
#include "engine_test.h"
#include "process_run.h"
#include "text/res_string.h"
#include "win/wide_text.h"

namespace {

// Each dialog is found by the controls only it has. The verification dialog's password
// field (2003) is hidden until the user has a secret.
const std::wstring kVerification = L"--controls 2001,2003 ";
const std::wstring kLogonPassword = L"--controls 2001,2002 ";
const std::wstring kNewPassword = L"--controls 1000,1001,1033 ";
const std::wstring kNoNewPassword = L"--timeout 1500 " + kNewPassword + L"--click 2";

// An error message box: its text is read, then it is closed with OK.
std::wstring MessageBoxAnswer() {
    return L"--title \"" + LoadResString(IDS_MESSAGE_CAPTION) +
           L"\" --controls 65535 --get 65535 --click 1 --gone";
}

// The verification library's own message box, which refuses a wrong password.
const std::wstring kRefusal =
    L"--title \"Verify Your Identity\" --controls 65535 --get 65535 --click 1 --gone";

// The verification, answered with the password.
std::wstring VerifyWith(const std::wstring& password) {
    return kVerification + L"--set 2003 \"" + password + L"\" --click 1";
}

// The text the verification library refuses a wrong password with, from its own resources.
std::string RefusalText() {
    const Library library(::LoadLibraryExW(L"ZTSDApi.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE));
    wchar_t text[256] = {};
    if (library) ::LoadStringW(library.get(), IDS_WRONG_PASSWORD, text, 256);
    return core::Utf16ToUtf8(AsU16(std::wstring(text)));
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

constexpr HRESULT kAbandoned = HRESULT_FROM_WIN32(WAIT_TIMEOUT);

std::string Hex(const Bytes& bytes) {
    std::string hex;
    for (BYTE byte : bytes) hex += {"0123456789abcdef"[byte >> 4], "0123456789abcdef"[byte & 15]};
    return hex;
}

class UserSecret : public ::testing::Test {
protected:
    static void StoreSecret(Bytes secret, const wchar_t* application = L"Tapwise Crypto") {
        const std::wstring user = ThreadUserName();
        DATA_BLOB blob{static_cast<DWORD>(secret.size()), secret.data()};
        ASSERT_EQ(ztfp::WriteSecretContent(user.c_str(), application, &blob), S_OK);
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

// A cancelled new password gives no secret and stores nothing; the next run asks again.
TEST_F(UserSecret, FirstUseAsksForANewPasswordUntilBothEntriesMatchAndStoresItsMd4) {
    auto cancelled = AnswerInOrder({kVerification + L"--click 1 --gone", kNewPassword + L"--click 2 --gone"});
    CLibrarySecret none(kOperationEncrypt);
    EXPECT_EQ(none.Load(nullptr), S_FALSE);
    ExpectAllAnswered(cancelled.get());
    EXPECT_TRUE(none.Secret().empty());
    EXPECT_FALSE(AnySecretStored());

    auto answers = AnswerInOrder({
        kVerification + L"--click 1 --gone",
        kNewPassword + L"--get 1033 --click 1",
        MessageBoxAnswer(),
        kNewPassword + L"--set 1000 \"first choice\" --set 1001 \"first chioce\" --click 1",
        MessageBoxAnswer(),
        kNewPassword + L"--set 1000 \"first choice\" --set 1001 \"first choice\" --click 1 --gone",
    });
    CLibrarySecret user(kOperationEncrypt);
    EXPECT_EQ(user.Load(nullptr), S_OK);
    const std::vector<Answer> done = answers.get();
    ExpectAllAnswered(done);
    ASSERT_EQ(done.size(), 6u);
    EXPECT_NE(done[1].output.find("1033: " + Narrow(LoadResString(IDS_PASSWORD_PROMPT))), std::string::npos);
    EXPECT_NE(done[2].output.find(Narrow(LoadResString(IDS_PASSWORD_EMPTY))), std::string::npos)
        << done[2].output;
    EXPECT_NE(done[4].output.find(Narrow(LoadResString(IDS_PASSWORDS_DIFFER))), std::string::npos)
        << done[4].output;
    EXPECT_EQ(Copied(user.Secret()), PasswordSecret(L"first choice"));

    // A later run is verified with that password: the stored secret comes back without the
    // password dialog.
    auto later = AnswerInOrder({VerifyWith(L"first choice") + L" --gone", kNoNewPassword});
    CLibrarySecret laterUser(kOperationDecrypt);
    EXPECT_EQ(laterUser.Load(nullptr), S_OK);
    const std::vector<Answer> laterDone = later.get();
    EXPECT_EQ(laterDone[0].code, 0u) << laterDone[0].output;
    EXPECT_EQ(laterDone[1].code, 1u) << "the password dialog came again";
    EXPECT_EQ(Copied(laterUser.Secret()), PasswordSecret(L"first choice"));
}

TEST_F(UserSecret, VerificationAsksToEncryptOnlyWhenEncrypting) {
    StoreSecret(PasswordSecret(L"pw"));
    const std::pair<int, UINT> cases[] = {{kOperationEncrypt, IDS_VERIFY_ENCRYPT},
                                          {kOperationDecrypt, IDS_VERIFY_DECRYPT},
                                          {kOperationDecryptAndOpen, IDS_VERIFY_DECRYPT}};
    for (const auto& [kind, promptId] : cases) {
        auto answers = AnswerInOrder({kVerification + L"--get 2001 --set 2003 pw --click 1 --gone"});
        CLibrarySecret user(kind);
        EXPECT_EQ(user.Load(nullptr), S_OK) << "kind " << kind;
        const std::vector<Answer> done = answers.get();
        ExpectAllAnswered(done);
        EXPECT_NE(done[0].output.find("2001: " + Narrow(LoadResString(promptId)) + "\n"), std::string::npos)
            << "kind " << kind << ": " << done[0].output;
        EXPECT_EQ(Copied(user.Secret()), PasswordSecret(L"pw"));
    }
}

// Whoever is verified gets the key to the user's files: a wrong password (the right one in
// another case too) is refused with the library's message and the dialog stays for another
// try. Guessing gets slow: after five wrong passwords in a row every further try is answered
// only after a few seconds, the right one too, which ends the count. Cancel gives up with no
// secret, the answer the program ends on without a message.
TEST_F(UserSecret, WrongPasswordsAreRefusedAndWaitAfterFiveUntilTheRightOneOrCancel) {
    StoreSecret(PasswordSecret(L"right"));
    std::vector<std::wstring> steps{VerifyWith(L"righT"), kRefusal};
    for (int i = 1; i < 6; ++i) {
        steps.push_back(VerifyWith(L"wrong " + std::to_wstring(i)));
        steps.push_back(kRefusal);
    }
    steps.push_back(VerifyWith(L"right") + L" --gone");
    auto answers = AnswerInOrder(steps);
    CLibrarySecret user(kOperationEncrypt);
    const DWORD start = ::GetTickCount();
    EXPECT_EQ(user.Load(nullptr), S_OK);
    EXPECT_GE(::GetTickCount() - start, 5000u) << "the sixth try and the right one did not wait";
    const std::vector<Answer> done = answers.get();
    ExpectAllAnswered(done);
    EXPECT_NE(done[1].output.find(RefusalText()), std::string::npos) << done[1].output;
    EXPECT_EQ(Copied(user.Secret()), PasswordSecret(L"right"));

    // The count ended with the right password: two more wrong ones do not wait, which would
    // take six seconds.
    auto again = AnswerInOrder({VerifyWith(L"wrong"), kRefusal, VerifyWith(L"wrong again"), kRefusal,
                                kVerification + L"--click 2 --gone"});
    CLibrarySecret abandoned(kOperationDecrypt);
    const DWORD laterStart = ::GetTickCount();
    EXPECT_EQ(abandoned.Load(nullptr), kAbandoned);
    EXPECT_LT(::GetTickCount() - laterStart, 5000u);
    ExpectAllAnswered(again.get());
    EXPECT_TRUE(abandoned.Secret().empty());
}

// A key derived from nothing would be the same for every user. The user is verified with the
// password of another application's secret.
TEST_F(UserSecret, AnEmptyStoredSecretIsRefused) {
    BYTE none = 0;
    DATA_BLOB empty{0, &none};
    ASSERT_EQ(ztfp::WriteSecretContent(ThreadUserName().c_str(), L"Tapwise Crypto", &empty), S_OK);
    StoreSecret(PasswordSecret(L"pw"), L"Other application");
    auto answers = AnswerInOrder({VerifyWith(L"pw") + L" --gone"});
    CLibrarySecret user(kOperationEncrypt);
    EXPECT_EQ(user.Load(nullptr), NTE_BAD_DATA);
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

// In personal mode the logon password, handed over obfuscated for the probe's process, is
// what the user is authenticated with: checked by the library's dialog, a wrong one refused
// there; an empty one gives no secret.
TEST_F(UserSecret, PersonalModeAuthenticatesWithTheLogonPassword) {
    SetRegistryString(HKEY_CURRENT_USER, L"SOFTWARE\\Zentaro\\Settings", L"is_personalmode", L"1");
    auto empty = AnswerInOrder({kLogonPassword + L"--click 1 --gone"});
    const ProbeReport withoutPassword = RunProbe(kOperationEncrypt);
    ExpectAllAnswered(empty.get());
    EXPECT_EQ(withoutPassword.result, 1ul);
    EXPECT_EQ(withoutPassword.secret, "");

    StoreSecret(PasswordSecret(L"logon pass"));
    auto typed = AnswerInOrder({kLogonPassword + L"--set 2002 \"logon pas\" --click 1", kRefusal,
                                kLogonPassword + L"--set 2002 \"logon pass\" --click 1 --gone"});
    const ProbeReport withPassword = RunProbe(kOperationEncrypt);
    const std::vector<Answer> done = typed.get();
    ExpectAllAnswered(done);
    EXPECT_NE(done[1].output.find(RefusalText()), std::string::npos) << done[1].output;
    EXPECT_EQ(withPassword.result, 0ul);
    EXPECT_EQ(withPassword.secret, Hex(PasswordSecret(L"logon pass")));

    auto cancelled = AnswerInOrder({kLogonPassword + L"--click 2 --gone"});
    EXPECT_EQ(RunProbe(kOperationEncrypt).result, static_cast<unsigned long>(kAbandoned));
    ExpectAllAnswered(cancelled.get());
}

}  // namespace
