#include "shellext/menu_commands.h"

#include <cstring>

#include "shellext/resources/resource_ids.h"

namespace {

constexpr MenuCommand kCommands[] = {
    {kEncryptOffset, "Encrypt", L"Encrypt", IDS_ENCRYPT_MENU, IDS_ENCRYPT_HELP, IDB_ENCRYPT, L" /e"},
    {kDecryptOffset, "Decrypt", L"Decrypt", IDS_DECRYPT_MENU, IDS_DECRYPT_HELP, IDB_DECRYPT, L" /d"},
};

// The verbs are seven letters: their first 8 bytes with the terminator decide, and a shorter
// verb is not read past its own end.
constexpr std::size_t kVerbBytes = 8;

}  // namespace

void InsertAllOrNone(HMENU menu, UINT firstId, std::span<const MenuCommand* const> commands,
                     const std::function<void(const MenuCommand&)>& insert) {
    std::size_t inserted = 0;
    try {
        for (; inserted < commands.size(); ++inserted) insert(*commands[inserted]);
    } catch (...) {
        while (inserted > 0) ::DeleteMenu(menu, firstId + commands[--inserted]->offset, MF_BYCOMMAND);
        throw;
    }
}

const MenuCommand* CommandAtOffset(UINT_PTR offset) {
    for (const MenuCommand& command : kCommands) {
        if (command.offset == offset) return &command;
    }
    return nullptr;
}

const MenuCommand* CommandOfVerb(const char* verb) {
    for (const MenuCommand& command : kCommands) {
        if (std::strncmp(verb, command.verb, kVerbBytes) == 0) return &command;
    }
    return nullptr;
}
