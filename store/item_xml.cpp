#include "store/item_xml.h"

#include <cstdint>
#include <optional>
#include <string>

#include "core/text/unix_time.h"
#include "win/hresult.h"

namespace {

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// The attribute is hexadecimal and means a folder exactly when its value is 1 ("1", "01");
// anything that is not all hexadecimal digits, or that overflows, is a file.
bool IsFolderValue(const std::optional<std::wstring>& value) {
    if (!value || value->empty()) return false;
    std::uint64_t number = 0;
    for (wchar_t c : *value) {
        const int digit = HexDigit(c);
        if (digit < 0) return false;
        number = (number << 4) | static_cast<std::uint64_t>(digit);
        if (number > 0xFFFFFFFF) return false;
    }
    return number == 1;
}

ULONGLONG DecryptTimeOf(const CXmlElement& item) {
    const std::optional<CXmlElement> time = item.FirstChild(L"decrypt_time");
    if (!time) return 0;
    const std::wstring text = time->Text();
    const std::optional<std::uint32_t> seconds =
        core::ParseUnixSeconds({reinterpret_cast<const char16_t*>(text.data()), text.size()});
    return seconds ? core::UnixSecondsToFileTime(*seconds) : 0;
}

CXmlElement TextElement(const CXmlDocument& document, const wchar_t* name, std::wstring_view text) {
    CXmlElement element = document.CreateElement(name);
    element.SetText(text);
    return element;
}

}  // namespace

std::unique_ptr<CDecryptedItem> ReadItemElement(const CXmlElement& element) {
    std::optional<std::wstring> name = element.Attribute(L"name");
    if (!name) ThrowHr(E_FAIL);
    auto item =
        std::make_unique<CDecryptedItem>(std::move(*name), IsFolderValue(element.Attribute(L"folder")));
    if (const std::optional<CXmlElement> path = element.FirstChild(L"path")) item->SetPath(path->Text());
    item->SetDecryptTime(DecryptTimeOf(element));
    return item;
}

void AppendItemElement(const CXmlDocument& document, const CXmlElement& list, const CDecryptedItem& item) {
    CXmlElement element = document.CreateElement(L"item");
    element.SetAttribute(L"name", item.Name());
    element.SetAttribute(L"folder", item.IsFolder() ? L"1" : L"0");
    element.AppendChild(TextElement(document, L"path", item.Path()));
    if (item.DecryptTime() != 0) {
        const std::wstring seconds = std::to_wstring(core::FileTimeToUnixSeconds(item.DecryptTime()));
        element.AppendChild(TextElement(document, L"decrypt_time", seconds));
    }
    list.AppendChild(element);
}
