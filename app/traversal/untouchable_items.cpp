#include "app/traversal/untouchable_items.h"

#include "app/resources/resource_ids.h"
#include "app/traversal/system_protection.h"
#include "core/command_line/operation_kind.h"
#include "trace/trace_scope.h"

namespace {

UINT UntouchableReason(const std::wstring& path, DWORD attributes) {
    if (attributes & FILE_ATTRIBUTE_SYSTEM) return IDS_SKIPPED_SYSTEM;
    if (IsLinkedFolder(attributes)) return IDS_SKIPPED_LINK;
    if (attributes & FILE_ATTRIBUTE_HIDDEN) return IDS_SKIPPED_HIDDEN;
    if (IsSystemProtected(path)) {
        trace::CTraceScope scope("UntouchableReason");
        trace::Trace(scope, 0, "File %ls is protected", path.c_str());
        return IDS_SKIPPED_PROTECTED;
    }
    return 0;
}

}  // namespace

CUntouchableItems::CUntouchableItems(int operationKind) : encrypting_(operationKind == kOperationEncrypt) {}

std::optional<UINT> CUntouchableItems::SkipEntry(const std::wstring& path, DWORD attributes) const {
    const UINT reason = UntouchableReason(path, attributes);
    if (reason == 0) return std::nullopt;
    return encrypting_ ? reason : 0;
}
