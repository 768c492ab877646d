#pragma once
#include <windows.h>

#include <string>

#include "process_run.h"
#include "store_sandbox.h"
#include "test_support.h"

// The password the user chose on first use, before every test.
extern const wchar_t kFirstUsePassword[];

// The suite's main program, ZTFileEn.exe, installed beside this test program with the
// libraries it loads.
std::wstring ProgramPath();
// One start of the program: its quoted path, a space, then the arguments exactly as given.
ProcessRun RunProgram(const std::wstring& arguments);

// A test of the installed program on real files in a fresh folder, with the decrypted-items
// store as the test found it.
class EndToEndTest : public ::testing::Test {
protected:
    std::wstring File(const std::wstring& name, const Bytes& content) const;
    std::wstring Folder(const std::wstring& name) const;
    // Runs "/e" on the quoted path, the user verified, and waits for the program to end.
    static void Encrypt(const std::wstring& path);
    // The file is encrypted beside itself and gone in plain.
    static bool IsEncrypted(const std::wstring& path);
    // Whether the store has an entry whose XML starts like this.
    bool StoreHolds(const std::string& itemStart) const;

    StoreSandbox store_;
    TempFolder folder_;
};
