#include "core/text/xml_indentation.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace core {
namespace {

bool IsXmlWhiteSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

bool IsWhiteSpaceOnly(std::u16string_view text) {
    for (char16_t c : text) {
        if (!IsXmlWhiteSpace(c)) return false;
    }
    return true;
}

// The end (one past) of the markup that starts with '<' at xml[at]: a comment, processing
// instruction or CDATA section up to its own terminator, a tag up to the first '>' outside
// a quoted attribute value. Unterminated markup runs to the end.
std::size_t MarkupEnd(std::u16string_view xml, std::size_t at) {
    for (const auto& [open, close] : {std::pair<std::u16string_view, std::u16string_view>{u"<!--", u"-->"},
                                      {u"<![CDATA[", u"]]>"},
                                      {u"<?", u"?>"}}) {
        if (xml.substr(at, open.size()) != open) continue;
        const std::size_t end = xml.find(close, at + open.size());
        return end == std::u16string_view::npos ? xml.size() : end + close.size();
    }
    char16_t quote = 0;
    for (std::size_t i = at + 1; i < xml.size(); ++i) {
        const char16_t c = xml[i];
        if (quote != 0) {
            if (c == quote) quote = 0;
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u'>') {
            return i + 1;
        }
    }
    return xml.size();
}

// "<name ...>", as opposed to an end tag, an empty-element tag or other markup.
bool IsStartTag(std::u16string_view markup) {
    if (markup.size() < 3 || markup.back() != u'>') return false;
    const char16_t first = markup[1];
    return first != u'/' && first != u'?' && first != u'!' && markup[markup.size() - 2] != u'/';
}

}  // namespace

std::u16string RemoveIndentation(std::u16string_view xml) {
    std::u16string out;
    out.reserve(xml.size());
    bool afterStartTag = false;
    for (std::size_t i = 0; i < xml.size();) {
        if (xml[i] == u'<') {
            const std::u16string_view markup = xml.substr(i, MarkupEnd(xml, i) - i);
            out += markup;
            afterStartTag = IsStartTag(markup);
            i += markup.size();
            continue;
        }
        const std::size_t end = std::min(xml.find(u'<', i), xml.size());
        const std::u16string_view text = xml.substr(i, end - i);
        const bool elementContent = afterStartTag && xml.substr(end, 2) == u"</";
        if (!IsWhiteSpaceOnly(text) || elementContent) out += text;
        i = end;
    }
    return out;
}

}  // namespace core
