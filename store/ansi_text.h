#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/text/char_refs.h"

// Text in the ANSI code page of the calling thread, which is what the decrypted-items file
// holds after its declaration.
std::wstring AnsiToWide(std::span<const std::uint8_t> bytes);
std::string WideToAnsi(std::wstring_view text);

// Which of U+0080..U+00FF the thread's code page carries both ways without substitution.
core::Latin1Coverage ThreadLatin1Coverage();
