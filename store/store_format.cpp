#include "store/store_format.h"

#include "core/text/char_refs.h"
#include "core/text/xml_indentation.h"
#include "store/ansi_text.h"

static_assert(kStoreDeclaration.size() == 38);
static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide strings are UTF-16");

namespace {

std::u16string_view AsUtf16(std::wstring_view text) {
    return {reinterpret_cast<const char16_t*>(text.data()), text.size()};
}

std::wstring_view AsWide(std::u16string_view text) {
    return {reinterpret_cast<const wchar_t*>(text.data()), text.size()};
}

}  // namespace

CXmlDocument ParseStoreBytes(std::span<const std::uint8_t> bytes) {
    // The declaration's encoding is not what the body holds: the text is read in the thread's
    // code page and handed to the parser as UTF-16, which makes the parser ignore it.
    CXmlDocument document = CXmlDocument::Create();
    document.Parse(AnsiToWide(bytes));
    return document;
}

std::string StoreBytes(const CXmlElement& root) {
    // Serialisers differ in what they indent and which characters they write as references;
    // both are undone first, so the file's bytes depend only on the list and the code page.
    const std::u16string plain = core::DecodeCharRefs(core::RemoveIndentation(AsUtf16(root.Xml())));
    const std::u16string body = core::EncodeCharRefs(plain, ThreadLatin1Coverage());
    return std::string(kStoreDeclaration) + WideToAnsi(AsWide(body));
}
