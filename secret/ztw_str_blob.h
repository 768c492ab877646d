#pragma once
#include <string_view>

#include "secret/crypt_blob.h"

// A wide string as a heap blob: its UTF-16 units and the terminating zero unit.
class CZTWStrBlob : public CHeapBlob {
public:
    explicit CZTWStrBlob(std::wstring_view text);
};
