#include "ui/report.h"

#include <optional>

#include "core/text/text_format.h"
#include "text/message_text.h"
#include "text/res_string.h"
#include "text/resource_module.h"
#include "ui/ui_ids.h"
#include "win/wide_text.h"

namespace {

constexpr std::u16string_view kParagraphBreak = u"\r\n\r\n";

// The program's own message table comes first; it may explain codes the system does not know.
std::wstring ErrorText(HRESULT status) {
    if (auto text = MessageText(status, ResourceModule())) return *text;
    if (auto text = MessageText(status)) return *text;
    return LoadResString(IDS_NO_ERROR_TEXT);
}

}  // namespace

void CReport::AddEntry(UINT stringId, const std::wstring& name, HRESULT status) {
    std::u16string body;
    if (status >= 0) {
        body = core::FormatText(AsU16(LoadResString(stringId)), {AsU16(name)});
    } else {
        const std::u16string format =
            ToU16(LoadResString(stringId) + L"\r\n" + LoadResString(IDS_ERROR_REASON));
        body = core::FormatText(format, {AsU16(name), AsU16(ErrorText(status))});
    }
    AddParagraph(body);
}

void CReport::AddParagraph(std::u16string_view text) {
    std::u16string paragraph(core::TruncateText(text, kParagraphUnits - kParagraphBreak.size()));
    paragraph += kParagraphBreak;
    Add(ToWide(paragraph));
}
