#pragma once
#include <msxml2.h>
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "win/com_ptr.h"

// An element of an MSXML document. Failing calls are thrown as their HRESULTs.
class CXmlElement {
public:
    explicit CXmlElement(ComPtr<IXMLDOMElement> element) : element_(std::move(element)) {}

    IXMLDOMElement* get() const { return element_.get(); }

    void AppendChild(const CXmlElement& child) const;
    void SetAttribute(const wchar_t* name, std::wstring_view value) const;
    // Nothing when the attribute is missing.
    std::optional<std::wstring> Attribute(const wchar_t* name) const;
    std::wstring Text() const;
    void SetText(std::wstring_view text) const;

    // Child elements by name, compared case-sensitively; other kinds of node never match.
    std::optional<CXmlElement> FirstChild(std::wstring_view name) const;
    std::vector<CXmlElement> Children(std::wstring_view name) const;

    // The element serialised as UTF-16 XML text.
    std::wstring Xml() const;

private:
    ComPtr<IXMLDOMElement> element_;
};
