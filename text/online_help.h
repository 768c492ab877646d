#pragma once
#include <string>

// The product's identifier for the maker's online help.
inline constexpr wchar_t kOnlineHelpProductId[] = L"{73914D63-F8A8-49A8-AE4E-A74775AD4970}";

// Starts the maker's online-help program on a topic; nothing when it is not installed.
void OpenOnlineHelp(int topicNumber, const std::wstring& productIdentifier);
