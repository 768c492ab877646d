#pragma once
#include <cstddef>
#include <string>

// The path as the file functions must be given it: the path itself while its full form is
// short enough for the plain form, its extended-length form ("\\?\C:\..." or
// "\\?\UNC\...") once it is not, so that a folder tree deeper than MAX_PATH can be read and
// written like any other. Every path handed to the file system goes through here.
std::wstring LongPathForm(const std::wstring& path);

// Room for the longest path the file functions take, with its terminator, for the calls
// that fill a caller's buffer and cannot say how much they need.
inline constexpr std::size_t kLongestPathUnits = 32768;

// The path as what takes only the plain form must be given it (the shell, and the program it
// starts on a file): the path itself while it is short enough, else its short (8.3) form when
// that one is; empty when neither fits MAX_PATH.
std::wstring PlainPathForm(const std::wstring& path);
