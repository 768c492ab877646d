#include "dashboard/page/reminder_controls.h"

#include <string>

#include "dashboard/notify_settings.h"
#include "dashboard/resources/resource_ids.h"
#include "dashboard/rules/reminder_hours.h"

void CReminderControls::Init(HWND page) {
    page_ = page;
    const bool enabled = ReadNotifySetting(kEnableNotifyValue, kDefaultEnableNotify) != 0;
    ::CheckDlgButton(page_, IDC_NOTIFY, enabled ? BST_CHECKED : BST_UNCHECKED);
    filling_ = true;
    const std::int32_t hours =
        core::ShownHours(ReadNotifySetting(kNotifyTimeoutValue, kDefaultNotifyTimeout));
    ::SetDlgItemInt(page_, IDC_NOTIFY_HOURS, static_cast<UINT>(hours), FALSE);
    filling_ = false;
    EnableHours();
}

void CReminderControls::OnNotifyClicked() const {
    EnableHours();
    WriteNotifySetting(kEnableNotifyValue, ::IsDlgButtonChecked(page_, IDC_NOTIFY) == BST_CHECKED ? 1 : 0);
}

void CReminderControls::EnableHours() const {
    const bool enabled = ::IsDlgButtonChecked(page_, IDC_NOTIFY) == BST_CHECKED;
    ::EnableWindow(::GetDlgItem(page_, IDC_NOTIFY_HOURS), enabled);
    ::EnableWindow(::GetDlgItem(page_, IDC_NOTIFY_SPIN), enabled);
}

void CReminderControls::OnHoursChanged() const {
    if (filling_) return;
    const auto typed = static_cast<std::int32_t>(::GetDlgItemInt(page_, IDC_NOTIFY_HOURS, nullptr, TRUE));
    const std::int32_t hours = core::ClampTypedHours(typed);
    if (hours != typed) {
        // The change this makes comes back here with a number that is stored. Selected, so
        // that the next digit typed replaces it.
        ::SetDlgItemInt(page_, IDC_NOTIFY_HOURS, static_cast<UINT>(hours), TRUE);
        ::SendDlgItemMessageW(page_, IDC_NOTIFY_HOURS, EM_SETSEL, 0, -1);
        return;
    }
    WriteNotifySetting(kNotifyTimeoutValue, static_cast<DWORD>(hours) * core::kSecondsPerHour);
}

void CReminderControls::OnHoursStep(const NMUPDOWN& step) const {
    const HWND field = ::GetDlgItem(page_, IDC_NOTIFY_HOURS);
    const auto shown = static_cast<std::int32_t>(::GetDlgItemInt(page_, IDC_NOTIFY_HOURS, nullptr, TRUE));
    ::SetWindowTextW(field, std::to_wstring(core::SteppedHours(shown, step.iDelta)).c_str());
    ::SendMessageW(field, EM_SETSEL, 0, -1);
    ::SetFocus(field);
}
