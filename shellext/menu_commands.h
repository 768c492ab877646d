#pragma once
#include <windows.h>

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

// The command at that offset; null for any other.
const MenuCommand* CommandAtOffset(UINT_PTR offset);
// The command a narrow verb names, compared whole and case-sensitively; null for any other.
const MenuCommand* CommandOfVerb(const char* verb);
