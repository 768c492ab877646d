#include "end_to_end_test.h"

#include "app/resources/resource_ids.h"
#include "dialog_answers.h"
#include "process_run.h"

std::wstring ProgramPath() {
    return TestProgramFolder() + L"ZTFileEn.exe";
}

ProcessRun RunProgram(const std::wstring& arguments) {
    return ProcessRun(Quoted(ProgramPath()) + L" " + arguments);
}

void EndToEndTest::Encrypt(const std::wstring& path) {
    const ProcessRun run = RunProgram(L"/e " + Quoted(path));
    ConfirmIdentity(IDS_VERIFY_ENCRYPT);
    ASSERT_TRUE(run.EndsWithin(kRunEndsMs));
}

bool EndToEndTest::IsEncrypted(const std::wstring& path) {
    if (FileExists(path) || !FileExists(path + L".zte")) return false;
    const Bytes bytes = ReadFileBytes(path + L".zte");
    return bytes.size() >= 4 && std::string(bytes.begin(), bytes.begin() + 4) == "ZTFE";
}

bool EndToEndTest::StoreHolds(const std::string& itemStart) const {
    return FileExists(store_.StoreFile()) && store_.ReadStore().find(itemStart) != std::string::npos;
}
