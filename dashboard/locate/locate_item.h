#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "store/decrypted_item.h"

struct LocateRequest;

// Says whether the picker's choice is refused (the picker then stays open). Gets every
// notification of the file picker, and the file-OK one from the folder picker's OK button.
using PickCheck = bool (*)(HWND picker, UINT notification, LocateRequest& request);

// What the page hands a picker when the user looks for an item that has gone from its
// recorded place.
struct LocateRequest {
    HWND owner = nullptr;
    // The file picker's choices: descriptions and patterns separated by vertical bars.
    std::wstring filter;
    std::wstring initialFolder;
    std::wstring title;
    // The chosen path; the file picker starts with the item's name in it.
    std::wstring chosen;
    PickCheck check = nullptr;
    // A copy: the page's map may be reloaded while the picker is open.
    CDecryptedItem item;
};

// Lets the user point to a missing item's new place, with the file picker for a file and the
// folder picker for a folder, starting at the recorded folder. The folder that now holds the
// item, or nothing when the picker was cancelled or the choice is not the item (another
// name, or nothing of that kind there).
std::optional<std::wstring> LocateItem(HWND owner, const CDecryptedItem& item);

// The check both pickers use: when the chosen name is not the item's name, asks whether to
// choose again; yes refuses the choice. Acts only on the file-OK notification.
bool CheckPickedName(HWND picker, UINT notification, LocateRequest& request);
