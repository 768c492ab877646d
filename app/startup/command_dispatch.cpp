#include "app/startup/command_dispatch.h"

#include <optional>
#include <string>

#include "app/registration/server_registration.h"
#include "app/startup/commands.h"
#include "app/traversal/file_list.h"
#include "core/command_line/command_action.h"
#include "engine/encryption_decryption.h"
#include "win/wide_text.h"

namespace {

// Registration shows nothing, so its outcome is the run's result, for the installer that
// started it; every other action shows its own.
HRESULT Run(core::CommandAction action, const CStringList& paths) {
    using core::CommandAction;
    switch (action) {
        case CommandAction::kEncryptPaths:
            ProcessFileList(nullptr, paths, kOperationEncrypt);
            break;
        case CommandAction::kDecryptPaths:
            ProcessFileList(nullptr, paths, kOperationDecrypt);
            break;
        case CommandAction::kDecryptAndOpenPaths:
            ProcessFileList(nullptr, paths, kOperationDecryptAndOpen);
            break;
        case CommandAction::kRegister:
            return RegisterServer();
        case CommandAction::kUnregister:
            UnregisterServer();
            break;
        case CommandAction::kChooseAndEncrypt:
            ChooseAndEncrypt(nullptr);
            break;
        case CommandAction::kChooseAndDecrypt:
            ChooseAndDecrypt(nullptr);
            break;
        case CommandAction::kNothing:
            break;
    }
    return S_OK;
}

}  // namespace

HRESULT DispatchCommandLine(std::wstring_view commandLine, const trace::CTraceScope& scope) {
    const std::wstring line(commandLine);
    trace::Trace(scope, 0, "CommandLine = %ls", line.c_str());
    CCommands commands;
    commands.ParseCommandLine(line);
    const bool hasPaths = commands.Paths().Count() > 0;
    const bool hasCommand = commands.Commands().Count() > 0;
    if (!hasPaths) trace::Trace(scope, 0, "Command = %ls", commands.Commands().GetAt(0).c_str());
    const std::optional<std::u16string_view> first =
        hasCommand ? std::optional(AsU16(commands.Commands().GetAt(0))) : std::nullopt;
    return Run(core::SelectCommandAction(first, hasPaths), commands.Paths());
}
