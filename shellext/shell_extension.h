#pragma once
#include <windows.h>
// shlobj.h needs windows.h first.
#include <shlobj.h>

#include <optional>
#include <string>

#include <span>

#include "shellext/menu_commands.h"
#include "shellext/selection.h"
#include "win/com_server.h"
#include "win/unique_handle.h"

// {18154541-0F1A-11D5-87C1-00010242D7FF}
inline constexpr CLSID CLSID_ZTShellExtension = {
    0x18154541, 0x0F1A, 0x11D5, {0x87, 0xC1, 0x00, 0x01, 0x02, 0x42, 0xD7, 0xFF}};

// The context-menu handler: offers Encrypt and Decrypt for what the user selected and starts
// the main program with the selection when one is picked. COM makes it as
// CComObject<CZTShellExtension>, stand-alone or as part of an outer object.
// COM interfaces have no virtual destructor: an object is destroyed only by its own Release.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class CZTShellExtension : public IShellExtInit, public IContextMenu {
public:
    STDMETHODIMP Initialize(PCIDLIST_ABSOLUTE folder, IDataObject* data, HKEY programKey) override;

    STDMETHODIMP QueryContextMenu(HMENU menu, UINT position, UINT firstId, UINT lastId, UINT flags) override;
    STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO* invocation) override;
    STDMETHODIMP GetCommandString(UINT_PTR offset, UINT kind, UINT* reserved, CHAR* buffer,
                                  UINT bufferUnits) override;

protected:
    CZTShellExtension();
    ~CZTShellExtension() = default;
    static std::span<const ComInterface> Interfaces();

private:
    void ReadSelection(IDataObject* data);
    HBITMAP Bitmap(const MenuCommand& command);
    void InsertCommand(HMENU menu, UINT position, UINT firstId, const MenuCommand& command);

    std::optional<std::wstring> programCommand_;
    CSelection selection_;
    // The marks of the two commands, by offset less one; kept while the object lives, since
    // the menu that shows them does not own them.
    BitmapHandle bitmaps_[2];
};
#pragma GCC diagnostic pop
