#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "win/hresult.h"

// Where an engine writes a file before it is complete, and what a run that died left behind
// (the naming rule is core/container/unfinished_name.h). Such a file is never the only copy of
// anything: an output is moved to its final name before its input is touched, and a plain
// file is set aside for its wipe only once its encrypted copy is in place.

// The unfinished name of the final path for this attempt, in the same folder, cut to fit the
// room the folder leaves in a path.
std::wstring UnfinishedPath(const std::wstring& finalPath, unsigned attempt);

// Whether the path's final component is an unfinished name.
bool IsUnfinishedPath(const std::wstring& path);

// The final path an unfinished path was made for, as far as its name kept the final name.
std::wstring FinalPathOf(const std::wstring& unfinishedPath);

// The files under unfinished names in the folder (which ends with its separator), left by runs
// that died or still being written by live ones: one search serves every final name in it.
std::vector<std::wstring> UnfinishedFilesIn(const std::wstring& folder);
// Whether the path is one of the unfinished paths of the final path, for any attempt.
bool IsUnfinishedPathOf(const std::wstring& path, const std::wstring& finalPath);

// How many unfinished names are tried before a failure is reported: each one taken is a
// file of a run that died or is still going.
constexpr unsigned kUnfinishedAttempts = 100;

// Whether the failure says that the name is taken.
bool IsNameTaken(HRESULT hr);

// Calls take(path) with each unfinished name of the final path in turn until one is not
// taken, and returns what it returns: a name taken is a file of a run that died or is still
// going, and stays as it is. The last failure is thrown when every name is taken, and any
// other failure at once.
template <class Take>
auto AtFirstFreeUnfinishedName(const std::wstring& finalPath, Take&& take) {
    for (unsigned attempt = 1;; ++attempt) {
        try {
            return take(UnfinishedPath(finalPath, attempt));
        } catch (const HResultError& error) {
            if (!IsNameTaken(error.code()) || attempt == kUnfinishedAttempts) throw;
        }
    }
}
