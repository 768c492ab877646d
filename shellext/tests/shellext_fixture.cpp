#include "shellext_fixture.h"

#include <shlobj.h>

#include <sstream>

#include "core/text/utf8.h"
#include "process_run.h"
#include "win/unique_handle.h"
#include "win/wide_text.h"

namespace {

std::vector<std::wstring> Fields(const std::wstring& line) {
    std::vector<std::wstring> fields;
    std::wstringstream stream(line);
    std::wstring field;
    while (std::getline(stream, field, L'\t')) fields.push_back(field);
    return fields;
}

void ReadLine(const std::vector<std::wstring>& fields, HostRun& run) {
    if (fields.empty()) return;
    if (fields[0] == L"handler" && fields.size() == 4) run.handlerResults.push_back(fields[3]);
    if (fields[0] == L"invoke" && fields.size() == 3) run.invokeResults.push_back(fields[2]);
    if (fields[0] == L"picked" && fields.size() == 2) run.picked.push_back(fields[1]);
    if (fields[0] == L"item" && fields.size() == 7) {
        run.items.push_back({std::stoi(fields[1]), static_cast<UINT>(std::stoul(fields[2])), fields[3],
                             fields[4] == L"1", fields[5], fields[6]});
    }
}

}  // namespace

std::vector<HostItem> HostRun::PlugInItems() const {
    std::vector<HostItem> own;
    for (const HostItem& item : items) {
        if (item.verb != L"-") own.push_back(item);
    }
    return own;
}

void ShellExtTest::SetUp() {
    install_ = root_.Path(L"Zentaro Suite");
    selection_ = root_.Path(L"Selected Items");
    ASSERT_TRUE(::CreateDirectoryW(install_.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW(selection_.c_str(), nullptr));
    for (const wchar_t* name : {kPlugInName, L"ZtoSet.dll", L"shell_marker.exe"}) {
        ASSERT_TRUE(::CopyFileW((TestProgramFolder() + name).c_str(), Installed(name).c_str(), FALSE))
            << name;
    }
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Zentaro\\Applications");
    const RegKey zentaro = CreateRegistryKey(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Zentaro", KEY_WOW64_64KEY);
    ASSERT_EQ(::RegSetValueExW(zentaro.get(), L"ZentaroPath", 0, REG_SZ,
                               reinterpret_cast<const BYTE*>(root_.Path().c_str()),
                               static_cast<DWORD>((root_.Path().size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    SetOpenCommand(MarkerPath() + L" \"%1\"");
    ASSERT_EQ(RunRegsvr32(Quoted(Installed(kPlugInName))), 0u);
}

std::wstring ShellExtTest::File(const std::wstring& relative) const {
    const std::wstring path = selection_ + L"\\" + relative;
    ::SHCreateDirectoryExW(nullptr, path.substr(0, path.rfind(L'\\')).c_str(), nullptr);
    WriteFileBytes(path, PatternBytes(100));
    return path;
}

std::wstring ShellExtTest::Folder(const std::wstring& relative) const {
    const std::wstring path = selection_ + L"\\" + relative;
    ::SHCreateDirectoryExW(nullptr, path.c_str(), nullptr);
    return path;
}

DWORD ShellExtTest::RunRegsvr32(const std::wstring& arguments) {
    // The system's regsvr32 of the test's own bitness, as an installer runs it.
    ProcessRun run(L"regsvr32.exe /s " + arguments);
    return run.Finish();
}

void ShellExtTest::SetOpenCommand(const std::wstring& command) {
    SetRegistryString(HKEY_CLASSES_ROOT, kOpenCommandKey, nullptr, command);
}

void ShellExtTest::SetShowCommands(const std::wstring& text) {
    SetRegistryString(HKEY_CURRENT_USER, kSettingsKey, L"show_encrypt_icon", text);
}

HostRun ShellExtTest::Host(const std::wstring& arguments, const std::vector<std::wstring>& paths) {
    std::wstring line = arguments;
    for (const std::wstring& path : paths) line += L" " + Quoted(path);
    CapturedRun run(L"shellhost.exe", line);
    std::string output;
    HostRun result{run.Finish(output, 60000),
                   ToWide(core::Utf8ToUtf16(
                       std::span(reinterpret_cast<const std::uint8_t*>(output.data()), output.size()))),
                   {},
                   {},
                   {},
                   {}};
    std::wstringstream lines(result.output);
    for (std::wstring text; std::getline(lines, text);) {
        if (!text.empty() && text.back() == L'\r') text.pop_back();
        ReadLine(Fields(text), result);
    }
    return result;
}

std::optional<std::wstring> ShellExtTest::StartedCommandLine(DWORD timeoutMs) const {
    const std::wstring path = Installed(L"command-line.txt");
    for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
        if (FileExists(path)) {
            const Bytes bytes = ReadFileBytes(path);
            return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()),
                                bytes.size() / sizeof(wchar_t));
        }
        ::Sleep(100);
    }
    return std::nullopt;
}
