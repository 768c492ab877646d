#pragma once
#include <windows.h>

#include <functional>
#include <span>

// The two commands the plug-in adds, addressed by their offset from the first identifier the
// shell grants; offset 0 is not used.
struct MenuCommand {
    UINT offset;
    const char* verb;
    const wchar_t* verbW;
    UINT textId;
    UINT helpId;
    UINT bitmapId;
    const wchar_t* switchText;
};

inline constexpr UINT kEncryptOffset = 1;
inline constexpr UINT kDecryptOffset = 2;
// The identifiers QueryContextMenu reports as used: offsets 0 to 2.
inline constexpr UINT kUsedIdentifiers = 3;

// Inserts the commands one after the other with insert. When one fails, those already in the
// menu are taken out again and the failure is thrown on: told of a failure, the shell would
// free identifiers that the menu still holds.
void InsertAllOrNone(HMENU menu, UINT firstId, std::span<const MenuCommand* const> commands,
                     const std::function<void(const MenuCommand&)>& insert);

// The command at that offset; null for any other.
const MenuCommand* CommandAtOffset(UINT_PTR offset);
// The command a narrow verb names, compared whole and case-sensitively; null for any other.
const MenuCommand* CommandOfVerb(const char* verb);
