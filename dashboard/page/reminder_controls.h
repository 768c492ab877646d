#pragma once
#include <windows.h>

#include <commctrl.h>

// The page's reminder settings, stored as they change: the box that turns reminders on and
// the interval in whole hours from 1 to 6, with its arrows.
class CReminderControls {
public:
    // Shows the stored settings; nothing is stored until the user changes a control.
    void Init(HWND page);
    // The box was clicked: the interval is offered only while reminders are on.
    void OnNotifyClicked() const;
    // The field changed: a number outside 1 to 6 is put right in the field (which changes it
    // again), one inside is stored in seconds.
    void OnHoursChanged() const;
    // An arrow was pressed: the field shows the next number within 1 to 6, selected.
    void OnHoursStep(const NMUPDOWN& step) const;

private:
    void EnableHours() const;

    HWND page_ = nullptr;
    // Set while the page fills the field itself.
    bool filling_ = false;
};
