#include "text/main_program.h"

#include "core/registration/registry_keys.h"
#include "core/registration/shell_command.h"
#include "win/path_parts.h"
#include "win/registry.h"
#include "win/unique_handle.h"
#include "win/wide_text.h"

std::optional<std::wstring> ReadProgramCommand() {
    const std::optional<std::wstring> command =
        TryReadExpandedString(HKEY_CLASSES_ROOT, kOpenCommandKey, nullptr);
    if (!command) return std::nullopt;
    return ToWide(core::ProgramOfOpenCommand(AsU16(*command)));
}

HRESULT StartProgram(const std::wstring& programCommand, const wchar_t* switchText,
                     std::span<const std::u16string> quotedPaths, KernelHandle& process) {
    // Registration writes the program's path unquoted. Under a folder with spaces the system
    // would then try "C:\Program.exe" first, so a command that names a file as a whole is
    // quoted; one that carries its own quotes or arguments is used as it stands.
    const bool namesFile = PathExists(programCommand);
    std::optional<std::u16string> line =
        core::SelectionCommandLine(AsU16(programCommand), namesFile, AsU16(switchText), quotedPaths);
    if (!line) return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    std::wstring commandLine = ToWide(*line);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    process.reset();
    if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                         nullptr, &startup, &started)) {
        process.reset(started.hProcess);
        const KernelHandle thread(started.hThread);
    }
    return S_OK;
}
