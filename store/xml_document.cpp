#include "store/xml_document.h"

#include "win/bstr.h"

namespace {

// DOMDocument30 and IXMLDOMDocument.
constexpr CLSID kDocumentClsid = {
    0xF5078F33, 0xC551, 0x11D3, {0x89, 0xB9, 0x00, 0x00, 0xF8, 0x1F, 0xE2, 0x21}};
constexpr IID kDocumentIid = {0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

constexpr HRESULT kObjectNotFound = static_cast<HRESULT>(0x800C0006);

HRESULT ParseFailure(IXMLDOMDocument* document) {
    ComPtr<IXMLDOMParseError> error;
    long code = 0;
    if (FAILED(document->get_parseError(error.put())) || !error || FAILED(error->get_errorCode(&code)) ||
        code >= 0) {
        return E_FAIL;
    }
    return code == kObjectNotFound ? HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) : code;
}

}  // namespace

CXmlDocument CXmlDocument::Create() {
    ComPtr<IXMLDOMDocument> document;
    Check(
        ::CoCreateInstance(kDocumentClsid, nullptr, CLSCTX_INPROC_SERVER, kDocumentIid, document.put_void()));
    Check(document->put_async(VARIANT_FALSE));
    Check(document->put_validateOnParse(VARIANT_FALSE));
    Check(document->put_resolveExternals(VARIANT_FALSE));
    Check(document->put_preserveWhiteSpace(VARIANT_TRUE));
    return CXmlDocument(std::move(document));
}

void CXmlDocument::Parse(std::wstring_view xml) {
    VARIANT_BOOL parsed = VARIANT_FALSE;
    Check(document_->loadXML(MakeBstr(xml).get(), &parsed));
    if (parsed != VARIANT_TRUE) ThrowHr(ParseFailure(document_.get()));
}

CXmlElement CXmlDocument::Root() const {
    ComPtr<IXMLDOMElement> root;
    Check(document_->get_documentElement(root.put()));
    if (!root) ThrowHr(E_FAIL);
    return CXmlElement(std::move(root));
}

CXmlElement CXmlDocument::CreateElement(const wchar_t* name) const {
    ComPtr<IXMLDOMElement> element;
    Check(document_->createElement(MakeBstr(name).get(), element.put()));
    return CXmlElement(std::move(element));
}
