#include "app/startup/command_dispatch.h"

#include <optional>
#include <string>

#include "app/registration/server_registration.h"
#include "app/startup/commands.h"
#include "app/traversal/file_list.h"
#include "core/command_action.h"
#include "engine/encryption_decryption.h"
#include "win/wide_text.h"

namespace {

void Run(core::CommandAction action, const CStringList& paths) {
    using core::CommandAction;
    switch (action) {
        case CommandAction::kEncryptPaths:
            return ProcessFileList(nullptr, paths, kOperationEncrypt);
        case CommandAction::kDecryptPaths:
            return ProcessFileList(nullptr, paths, kOperationDecrypt);
        case CommandAction::kDecryptAndOpenPaths:
            return ProcessFileList(nullptr, paths, kOperationDecryptAndOpen);
        case CommandAction::kRegister:
            RegisterServer();
            return;
        case CommandAction::kUnregister:
            UnregisterServer();
            return;
        case CommandAction::kChooseAndEncrypt:
            return ChooseAndEncrypt(nullptr);
        case CommandAction::kChooseAndDecrypt:
            return ChooseAndDecrypt(nullptr);
        case CommandAction::kNothing:
            return;
    }
}

}  // namespace

void DispatchCommandLine(std::wstring_view commandLine, const ZTTraceNS::CTraceScope& scope) {
    const std::wstring line(commandLine);
    ZTTraceNS::Trace(scope, 0, "CommandLine = %ls", line.c_str());
    CCommands commands;
    commands.ParseCommandLine(line);
    const bool hasPaths = commands.Paths().Count() > 0;
    const bool hasCommand = commands.Commands().Count() > 0;
    if (!hasPaths) ZTTraceNS::Trace(scope, 0, "Command = %ls", commands.Commands().GetAt(0).c_str());
    const std::optional<std::u16string_view> first =
        hasCommand ? std::optional(AsU16(commands.Commands().GetAt(0))) : std::nullopt;
    Run(core::SelectCommandAction(first, hasPaths), commands.Paths());
}
