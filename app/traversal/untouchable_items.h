#pragma once
#include "engine/walk.h"

// The walk of a ZTFileEn run: system, hidden and system-protected items and linked folders
// are left alone, and mentioned in the report only when encrypting, since leaving an item
// encrypted loses nothing. The items the user named are recorded in the decrypted-items store.
class CUntouchableItems : public CWalkPolicy {
public:
    explicit CUntouchableItems(int operationKind);

    // A system file is often hidden too; it is reported as a system file.
    std::optional<UINT> SkipEntry(const std::wstring& path, DWORD attributes) const override;
    bool RecordsNamedItems() const override { return true; }

private:
    bool encrypting_;
};
