#include "shellext/shell_extension.h"

#include <shellapi.h>

#include <vector>

#include "shellext/resources/resource_ids.h"
#include "text/main_program.h"
#include "text/message_box.h"
#include "text/res_string.h"
#include "text/resource_module.h"
#include "text/settings.h"
#include "trace/operation.h"
#include "trace/trace_scope.h"
#include "win/activation_context.h"
#include "win/window_dpi.h"

namespace {

// Menus for a default action only, for verbs only, or without verbs get no commands.
constexpr UINT kNoCommandsFlags = CMF_DEFAULTONLY | CMF_VERBSONLY | CMF_NOVERBS;

// The dropped-file list of a data object, handed back to its owner when the object goes.
class CDropList {
public:
    explicit CDropList(IDataObject* data) {
        FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        ok_ = SUCCEEDED(data->GetData(&format, &medium_));
    }
    ~CDropList() {
        if (ok_) ::ReleaseStgMedium(&medium_);
    }
    CDropList(const CDropList&) = delete;
    CDropList& operator=(const CDropList&) = delete;

    HDROP get() const { return ok_ ? static_cast<HDROP>(medium_.hGlobal) : nullptr; }

private:
    STGMEDIUM medium_{};
    bool ok_ = false;
};

// The whole path at that index, however long: a path cut to a fixed buffer would name
// another file.
std::wstring DroppedPath(HDROP drop, UINT index) {
    const UINT units = ::DragQueryFileW(drop, index, nullptr, 0);
    std::wstring path(units, L'\0');
    ::DragQueryFileW(drop, index, path.data(), units + 1);
    return path;
}

// The user's choice to see the commands; without an answer from the settings library they
// are shown.
bool ShowCommands() {
    bool show = false;
    return FAILED(GetBoolSetting(L"show_encrypt_icon", show, false)) || show;
}

HRESULT CopyText(const std::wstring& text, CHAR* buffer, UINT bufferUnits) {
    // Refused whole rather than cut: a cut verb would name no command, or another.
    if (!buffer || text.size() >= bufferUnits) return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    text.copy(reinterpret_cast<wchar_t*>(buffer), text.size());
    reinterpret_cast<wchar_t*>(buffer)[text.size()] = L'\0';
    return S_OK;
}

const MenuCommand* InvokedCommand(const CMINVOKECOMMANDINFO& invocation) {
    // A pointer's upper half, not only bits 16 to 31, tells a verb from an offset on 64-bit.
    if (!IS_INTRESOURCE(invocation.lpVerb)) return CommandOfVerb(invocation.lpVerb);
    return CommandAtOffset(reinterpret_cast<UINT_PTR>(invocation.lpVerb));
}

}  // namespace

CZTShellExtension::CZTShellExtension() : programCommand_(ReadProgramCommand()) {}

std::span<const ComInterface> CZTShellExtension::Interfaces() {
    static constexpr ComInterface kInterfaces[] = {
        Implements<CZTShellExtension, IShellExtInit>(IID_IShellExtInit),
        Implements<CZTShellExtension, IContextMenu>(IID_IContextMenu),
    };
    return kInterfaces;
}

STDMETHODIMP CZTShellExtension::Initialize(PCIDLIST_ABSOLUTE, IDataObject* data, HKEY) {
    trace::CTraceScope scope("CZTShellExtension::Initialize");
    Guarded(scope, [&] {
        if (!programCommand_) return;
        selection_ = CSelection();
        if (data) ReadSelection(data);
    });
    return S_OK;
}

void CZTShellExtension::ReadSelection(IDataObject* data) {
    const CDropList drop(data);
    if (!drop.get()) return;
    trace::CTraceScope scope("DragQueryFile");
    const UINT count = ::DragQueryFileW(drop.get(), 0xFFFFFFFF, nullptr, 0);
    for (UINT index = 0; index < count; ++index) {
        const std::wstring path = DroppedPath(drop.get(), index);
        selection_.AddSelectedPath(path);
        trace::Trace(scope, 0, "File %d : %ls", static_cast<int>(index), path.c_str());
    }
}

STDMETHODIMP CZTShellExtension::QueryContextMenu(HMENU menu, UINT position, UINT firstId, UINT lastId,
                                                 UINT flags) {
    trace::CTraceScope scope("CZTShellExtension::QueryContextMenu");
    if (!programCommand_ || selection_.QuotedPaths().empty()) return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
    trace::Trace(scope, 0, "indexMenu %d, idCmdFirst %d, idCmdLast %d, uFlags=0x%x", position, firstId,
                 lastId, flags);
    if (flags & kNoCommandsFlags) return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
    // Identifiers past the granted range belong to other handlers.
    if (lastId < firstId || lastId - firstId < kUsedIdentifiers - 1)
        return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
    return Guarded(scope, [&] {
        std::vector<const MenuCommand*> offered;
        if (ShowCommands()) {
            if (selection_.OfferEncrypt()) offered.push_back(CommandAtOffset(kEncryptOffset));
            if (selection_.OfferDecrypt()) offered.push_back(CommandAtOffset(kDecryptOffset));
        }
        InsertAllOrNone(menu, firstId, offered, [&](const MenuCommand& command) {
            InsertCommand(menu, position++, firstId, command);
        });
        return MAKE_HRESULT(SEVERITY_SUCCESS, 0, kUsedIdentifiers);
    });
}

HBITMAP CZTShellExtension::Bitmap(const MenuCommand& command) {
    BitmapHandle& bitmap = bitmaps_[command.offset - 1];
    // Grey shades become the system's 3-D colours, so the mark's background is the menu's. The
    // menu is drawn at the screen's DPI.
    if (!bitmap) {
        const UINT id = PictureAt(command.bitmapId, PicturePercent(WindowDpi(nullptr)));
        bitmap.reset(static_cast<HBITMAP>(
            ::LoadImageW(ResourceModule(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS)));
    }
    return bitmap.get();
}

void CZTShellExtension::InsertCommand(HMENU menu, UINT position, UINT firstId, const MenuCommand& command) {
    const std::wstring text = LoadResString(command.textId);
    Check(::InsertMenuW(menu, position, MF_BYPOSITION | MF_STRING, firstId + command.offset, text.c_str()));
    const HBITMAP mark = Bitmap(command);
    ::SetMenuItemBitmaps(menu, position, MF_BYPOSITION, mark, mark);
}

STDMETHODIMP CZTShellExtension::GetCommandString(UINT_PTR offset, UINT kind, UINT*, CHAR* buffer,
                                                 UINT bufferUnits) {
    trace::CTraceScope scope("CZTShellExtension::GetCommandString");
    return Guarded(scope, [&]() -> HRESULT {
        if (kind == GCS_VALIDATEW) return S_OK;
        const MenuCommand* command = CommandAtOffset(offset);
        if (!command) return E_INVALIDARG;
        if (kind == GCS_VERBW) return CopyText(command->verbW, buffer, bufferUnits);
        if (kind == GCS_HELPTEXTW) return CopyText(LoadResString(command->helpId), buffer, bufferUnits);
        return E_INVALIDARG;
    });
}

STDMETHODIMP CZTShellExtension::InvokeCommand(CMINVOKECOMMANDINFO* invocation) {
    trace::CTraceScope scope("CZTShellExtension::InvokeCommand");
    return Guarded(scope, [&]() -> HRESULT {
        const MenuCommand* command = invocation ? InvokedCommand(*invocation) : nullptr;
        if (!command) return E_INVALIDARG;
        if (!programCommand_) return S_OK;
        KernelHandle started;
        const HRESULT hr =
            StartProgram(*programCommand_, command->switchText, selection_.QuotedPaths(), started);
        if (FAILED(hr) && !(invocation->fMask & CMIC_MASK_FLAG_NO_UI)) {
            // Drawn by the plug-in's Common Controls in the visual style, not by Explorer's.
            const CActivationScope visualStyle;
            ShowMessage(invocation->hwnd, IDS_SELECTION_TOO_LARGE, kErrorMessageStyle);
        }
        return hr;
    });
}
