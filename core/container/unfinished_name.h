#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace core {

// A file is written under an unfinished name in its final folder and moved to its final name
// only once it is complete, so that a run that dies leaves no cut file under a name a user
// would take for the real one. The name is the final name followed by ".~zt-unfinished-N":
// it sorts beside the final file, says what it is, and opens no program on a double-click.
// N tells apart the attempts of runs that write the same final name.
//
// A longer final name is cut so that the whole name fits maxLength (the room its folder
// leaves); two final names that share a long beginning then share their unfinished names,
// which is harmless: an unfinished file is never the only copy of anything, and one that is
// still being written cannot be deleted.
std::u16string UnfinishedName(std::u16string_view finalName, unsigned attempt, std::size_t maxLength = 255);

// A search pattern (with the file system's "*" wildcards) that finds every unfinished name in a
// folder; what else it finds IsUnfinishedName tells apart.
std::u16string UnfinishedNamesPattern();

// Whether the name is one that UnfinishedName makes, for any final name.
bool IsUnfinishedName(std::u16string_view name);

// What an unfinished name kept of its final name: the whole final name unless it had to be
// cut. Empty for a name that is not an unfinished one.
std::u16string_view KeptNameOf(std::u16string_view unfinishedName);

// Whether the name is one that UnfinishedName makes for this final name and maxLength, for
// any attempt; letters are compared as the file system compares them, ASCII without case.
bool IsUnfinishedNameOf(std::u16string_view name, std::u16string_view finalName, std::size_t maxLength = 255);

}  // namespace core
