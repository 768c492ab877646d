#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "engine/walk.h"
#include "text/string_containers.h"

// The walk of a run over a chosen folder that takes every item and records nothing, for the
// tools and tests that run the engines as a user's run over a folder goes.
class CEveryFile final : public CWalkPolicy {
public:
    std::optional<UINT> SkipEntry(const std::wstring&, DWORD) const override { return std::nullopt; }
    bool RecordsNamedItems() const override { return false; }
};

inline void WalkEveryFile(CEncryptionDecryption& engine, const std::wstring& folder) {
    CStringList paths;
    paths.Add(folder);
    WalkPaths(engine, CEveryFile(), paths);
}
