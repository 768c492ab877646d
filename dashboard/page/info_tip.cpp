#include "dashboard/page/info_tip.h"

#include <windows.h>

#include "core/text/text_format.h"
#include "dashboard/resources/resource_ids.h"
#include "dashboard/rules/date_time_text.h"
#include "text/res_string.h"
#include "win/wide_text.h"

namespace {

// The local calendar time of a FILETIME; nothing when it has none.
bool LocalTime(ULONGLONG fileTime, SYSTEMTIME& local) {
    const FILETIME utc{static_cast<DWORD>(fileTime), static_cast<DWORD>(fileTime >> 32)};
    FILETIME localFileTime{};
    return fileTime != 0 && ::FileTimeToLocalFileTime(&utc, &localFileTime) &&
           ::FileTimeToSystemTime(&localFileTime, &local);
}

std::wstring DateText(const SYSTEMTIME& time) {
    wchar_t text[core::kInfoTipUnits + 1] = {};
    if (!::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &time, nullptr, text,
                          core::kInfoTipUnits + 1)) {
        return {};
    }
    return text;
}

std::wstring TimeText(const SYSTEMTIME& time) {
    wchar_t text[core::kInfoTipUnits + 1] = {};
    if (!::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, text, core::kInfoTipUnits + 1)) return {};
    return text;
}

}  // namespace

std::wstring InfoTipText(const CDecryptedItem& item) {
    if (!item.Exists()) return item.Path();
    SYSTEMTIME local{};
    if (!LocalTime(item.DecryptTime(), local)) return {};
    const bool midnight =
        local.wHour == 0 && local.wMinute == 0 && local.wSecond == 0 && local.wMilliseconds == 0;
    const std::u16string when =
        core::DateAndTimeText(AsU16(DateText(local)), AsU16(TimeText(local)), midnight);
    return ToWide(core::FormatText(AsU16(LoadResString(IDS_DECRYPTED_TIP)), {when}));
}
