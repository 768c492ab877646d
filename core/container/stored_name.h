#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace core {

// The stored file name comes from a file and may have been crafted. Decryption joins it to
// the encrypted file's folder, so only a name that Windows holds as a plain file in that
// folder is acceptable: not empty, not "." or "..", without "\", "/", ":", the wildcards
// * ? < > | " or control characters, not ending in a dot or a space, and not a device name
// (CON, PRN, AUX, NUL, COM0-9, LPT0-9, CONIN$, CONOUT$) with or without an extension.
bool IsSafeStoredName(std::u16string_view name);

// The stored name's bytes as UTF-8 up to the first 0 byte, decoded to UTF-16. Invalid
// sequences become U+FFFD, as the platform's converter does.
std::u16string StoredNameFromUtf8(std::span<const std::uint8_t> bytes);

// Whether a writer may store this name (UTF-8, as it goes into the header): readers must
// accept it and decode it back to the same bytes, so it has to be a safe stored name in
// valid UTF-8. A file whose name fails could be encrypted but never decrypted again.
bool IsWritableStoredName(std::string_view utf8);

}  // namespace core
