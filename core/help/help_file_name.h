#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace core {

// The language whose help file serves a user-interface language: the languages that have
// their own help, with the regional variants folded where the help has only one; 0x0409
// (English) for everything else.
std::uint16_t HelpLanguage(std::uint16_t uiLanguage);

// The help file's short name: the base name, "_" and the help language as four lower-case
// hexadecimal digits unless it is English, and ".chm".
std::u16string HelpFileName(std::u16string_view baseName, std::uint16_t uiLanguage);

}  // namespace core
