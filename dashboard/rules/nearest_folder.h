#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace core {

// Where to start looking for a folder that may have gone: the path without trailing blanks
// and backslashes, cut back one component at a time until isFolder accepts it. A drive
// keeps its backslash ("C:\"). Empty when no part of the path is a folder.
std::u16string NearestExistingFolder(std::u16string_view path,
                                     const std::function<bool(const std::u16string&)>& isFolder);

}  // namespace core
