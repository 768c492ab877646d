#pragma once
#include <msxml2.h>
#include <windows.h>

#include <string_view>

#include "store/xml_element.h"
#include "win/com_ptr.h"

// An MSXML 3 DOM document, set up for data files: synchronous parsing, no validation, no
// external resources, white space kept as it is. Needs COM on the calling thread; failing
// calls are thrown as their HRESULTs.
class CXmlDocument {
public:
    static CXmlDocument Create();

    // A document that does not parse is thrown as the parser's code: "object not found"
    // becomes "file not found", and a parser that gives no failure code gives E_FAIL.
    void Parse(std::wstring_view xml);
    CXmlElement Root() const;
    CXmlElement CreateElement(const wchar_t* name) const;

private:
    explicit CXmlDocument(ComPtr<IXMLDOMDocument> document) : document_(std::move(document)) {}

    ComPtr<IXMLDOMDocument> document_;
};
