#pragma once
#include <windows.h>

#include <string>

#include "engine_test.h"
#include "process_run.h"

// The password the user chose on first use, before every test.
extern const wchar_t kFirstUsePassword[];

// The suite's main program, ZTFileEn.exe, installed beside this test program with the
// libraries it loads.
std::wstring ProgramPath();
// One start of the program: its quoted path, a space, then the arguments exactly as given.
ProcessRun RunProgram(const std::wstring& arguments);

// A test of the installed program on real files in a fresh folder, with the decrypted-items
// store as the test found it.
class EndToEndTest : public EngineTest {
protected:
    // Runs "/e" on the quoted path, the user verified, and waits for the program to end.
    static void Encrypt(const std::wstring& path);
    // The file is encrypted beside itself and gone in plain.
    static bool IsEncrypted(const std::wstring& path);
    // Whether the store has an entry whose XML starts like this.
    bool StoreHolds(const std::string& itemStart) const;
};
