#pragma once
#include <oaidl.h>
#include <windows.h>

// The file-protection plug-in's status object, created through COM as the dashboard's
// reminder side creates it, and its two answers.
struct StatusAnswers {
    HRESULT created = E_FAIL;
    VARIANT_BOOL hasItems = VARIANT_FALSE;
    HRESULT hasItemsResult = E_FAIL;
    LONG timeout = 0;
    HRESULT timeoutResult = E_FAIL;
};
StatusAnswers AskStatus();

// Whether to remind the user now: items exist and reminders are on.
bool ReminderDue(const StatusAnswers& answers);
