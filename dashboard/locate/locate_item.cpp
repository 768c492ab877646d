#include "dashboard/locate/locate_item.h"

#include <commdlg.h>

#include "core/text/text_format.h"
#include "dashboard/locate/file_picker.h"
#include "dashboard/locate/folder_picker.h"
#include "dashboard/resources/resource_ids.h"
#include "text/message_box.h"
#include "text/res_string.h"
#include "win/long_path.h"
#include "win/path_parts.h"
#include "win/wide_text.h"

namespace {

std::wstring WithoutTrailingSeparators(std::wstring path) {
    while (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
    return path;
}

// Whether the path's last component is the item's name, compared as the list's keys are.
bool NamesItem(const std::wstring& path, const CDecryptedItem& item) {
    return CDecryptedItem::KeyOf(FileNameOf(WithoutTrailingSeparators(path))) == item.Key();
}

std::wstring LocateTitle(const CDecryptedItem& item) {
    return ToWide(core::FormatText(AsU16(LoadResString(IDS_LOCATE_TITLE)), {AsU16(item.Name())}));
}

// The folder that holds the chosen item, as the store records folders: without a separator
// at its end.
std::wstring HoldingFolder(const std::wstring& path) {
    return WithoutTrailingSeparators(FolderOf(WithoutTrailingSeparators(path)));
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(LongPathForm(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::optional<std::wstring> LocateItem(HWND owner, const CDecryptedItem& item) {
    LocateRequest request{owner, {}, item.Path(), LocateTitle(item), {}, CheckPickedName, item};
    bool picked = false;
    if (item.IsFolder()) {
        picked = RunFolderPicker(request) && IsFolder(request.chosen);
    } else {
        request.filter = LoadResString(IDS_LOCATE_FILTER);
        request.chosen = item.Name();
        picked = RunFilePicker(request) && PathExists(request.chosen);
    }
    if (!picked || !NamesItem(request.chosen, item)) return std::nullopt;
    return HoldingFolder(request.chosen);
}

bool CheckPickedName(HWND picker, UINT notification, LocateRequest& request) {
    if (notification != CDN_FILEOK || NamesItem(request.chosen, request.item)) return false;
    return AskYesNo(picker, LoadResString(IDS_NAME_MISMATCH), LocateTitle(request.item));
}
