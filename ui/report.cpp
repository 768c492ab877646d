#include "ui/report.h"

#include <optional>

#include "core/text/text_format.h"
#include "text/message_text.h"
#include "text/res_string.h"
#include "ui/ui_ids.h"
#include "win/wide_text.h"

namespace {

constexpr std::u16string_view kParagraphBreak = u"\r\n\r\n";

std::wstring ReasonText(HRESULT status) {
    if (auto text = ErrorText(status)) return *text;
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
        body = core::FormatText(format, {AsU16(name), AsU16(ReasonText(status))});
    }
    AddParagraph(body);
}

void CReport::AddParagraph(std::u16string_view text) {
    std::u16string paragraph(core::TruncateText(text, kParagraphUnits - kParagraphBreak.size()));
    paragraph += kParagraphBreak;
    Add(ToWide(paragraph));
}
