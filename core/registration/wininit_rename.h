#pragma once
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace core {

// WININIT.INI, which Windows 95, 98 and Me work through at start-up: each line "NUL=path"
// in its [rename] section deletes that file. The file is ANSI text.

// "NUL=" and the path (short form, so that the old loader can read it), then CR LF.
std::string NulRenameLine(std::string_view shortPath);

// Where the lines go and what is inserted there: right after the first "[rename]",
// "[Rename]" or "[RENAME]" header line (a header on a line of its own, blanks allowed around
// it), or at the end under a new "[rename]" header. A last line without its line break gets
// one first, so that nothing is joined to it.
struct TextInsertion {
    std::size_t offset = 0;
    std::string text;
};
TextInsertion RenameSectionInsertion(std::string_view ini, std::string_view lines);

// The insertion made inside a buffer that holds `used` bytes of the file and room for the
// inserted text after them, as a file mapping enlarged by that length does. The buffer must
// be exactly used + insertion.text.size() bytes long.
void InsertInPlace(std::span<char> buffer, std::size_t used, const TextInsertion& insertion);

}  // namespace core
