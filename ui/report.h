#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "text/string_containers.h"

// What a run has to tell the user, one paragraph per entry, shown by the report dialog.
class CReport : public CStringList {
public:
    // A paragraph holds at most this many units; a longer one is cut short, keeping its
    // paragraph break, so a long path with a long error text never overruns anything.
    static constexpr std::size_t kParagraphUnits = 259;

    // Appends string stringId filled with the name; a failure status adds the reason line
    // (string 11) with the status's message text, or string 19 when it has none.
    void AddEntry(UINT stringId, const std::wstring& name, HRESULT status);
    // Appends a paragraph of finished text, such as the run's summary; every paragraph ends
    // with the break that sets it apart from the next.
    void AddParagraph(std::u16string_view text);
};
