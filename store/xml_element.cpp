#include "store/xml_element.h"

#include "win/bstr.h"
#include "win/variant.h"

namespace {

// IXMLDOMElement.
constexpr IID kElementIid = {0x2933BF86, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

bool IsElementNamed(IXMLDOMNode* node, std::wstring_view name) {
    DOMNodeType type = NODE_INVALID;
    Check(node->get_nodeType(&type));
    if (type != NODE_ELEMENT) return false;
    Bstr nodeName;
    Check(node->get_nodeName(nodeName.put()));
    return BstrText(nodeName.get()) == name;
}

// Calls visit for each child element with the name, in document order, until it returns false.
template <class Visit>
void ForEachChild(IXMLDOMElement* parent, std::wstring_view name, Visit&& visit) {
    ComPtr<IXMLDOMNode> node;
    Check(parent->get_firstChild(node.put()));
    while (node) {
        if (IsElementNamed(node.get(), name) && !visit(CXmlElement(node.As<IXMLDOMElement>(kElementIid)))) {
            return;
        }
        ComPtr<IXMLDOMNode> next;
        Check(node->get_nextSibling(next.put()));
        node = std::move(next);
    }
}

}  // namespace

void CXmlElement::AppendChild(const CXmlElement& child) const {
    ComPtr<IXMLDOMNode> appended;
    Check(element_->appendChild(child.get(), appended.put()));
}

void CXmlElement::SetAttribute(const wchar_t* name, std::wstring_view value) const {
    const Bstr text = MakeBstr(value);
    VARIANT variant;
    ::VariantInit(&variant);
    variant.vt = VT_BSTR;
    variant.bstrVal = text.get();  // lent to the call, which copies it
    Check(element_->setAttribute(MakeBstr(name).get(), variant));
}

std::optional<std::wstring> CXmlElement::Attribute(const wchar_t* name) const {
    CVariant value;
    Check(element_->getAttribute(MakeBstr(name).get(), value.put()));
    if (value.get().vt != VT_BSTR) return std::nullopt;
    return BstrText(value.get().bstrVal);
}

std::wstring CXmlElement::Text() const {
    Bstr text;
    Check(element_->get_text(text.put()));
    return BstrText(text.get());
}

void CXmlElement::SetText(std::wstring_view text) const {
    Check(element_->put_text(MakeBstr(text).get()));
}

std::optional<CXmlElement> CXmlElement::FirstChild(std::wstring_view name) const {
    std::optional<CXmlElement> first;
    ForEachChild(element_.get(), name, [&](CXmlElement child) {
        first.emplace(std::move(child));
        return false;
    });
    return first;
}

std::vector<CXmlElement> CXmlElement::Children(std::wstring_view name) const {
    std::vector<CXmlElement> children;
    ForEachChild(element_.get(), name, [&](CXmlElement child) {
        children.push_back(std::move(child));
        return true;
    });
    return children;
}

std::wstring CXmlElement::Xml() const {
    Bstr xml;
    Check(element_->get_xml(xml.put()));
    return BstrText(xml.get());
}
