#pragma once
#include <windows.h>

#include <wincrypt.h>

#include <algorithm>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "core/crypto/obfuscated_blob.h"
#include "secret/base64_text.h"
#include "secret/crypt_context.h"
#include "secret/obfuscation_key.h"
#include "trace/trace_scope.h"
#include "win/hresult.h"

// Blob buffers on the process heap. What a buffer held is zeroed before it goes back: blobs
// carry secrets and passwords.
struct HeapAllocator {
    // Throws E_OUTOFMEMORY when the heap has no room.
    static BYTE* Allocate(DWORD size);
    static void Free(BYTE* data, DWORD size) noexcept;
};

// One byte buffer described by a size/pointer pair, owned and released by the allocator A:
// the process heap (HeapAllocator) or the library that handed it over. Copying between
// blobs always lands on the heap; only heap blobs can be filled or rewritten.
template <class Blob, class A>
class CCryptBlob {
public:
    CCryptBlob() = default;
    // Base64 text of an obfuscated blob made for this process: decoded and deobfuscated with
    // the process's key. Failures are raised with their status code. The constructor
    // delegates, so the object is complete before the body runs: when deobfuscation throws,
    // the destructor still zeroes and frees the buffer that holds the decoded bytes.
    explicit CCryptBlob(std::wstring_view base64) : CCryptBlob() {
        std::vector<BYTE> decoded = DecodeBase64Text(base64);
        Assign(decoded);
        ::SecureZeroMemory(decoded.data(), decoded.size());
        Deobfuscate(ProcessObfuscationKey());
    }
    CCryptBlob(const CCryptBlob&) = delete;
    CCryptBlob& operator=(const CCryptBlob& other) {
        if (this != &other) Assign(other.Bytes());
        return *this;
    }
    virtual ~CCryptBlob() { Free(); }

    template <class OtherA>
    CCryptBlob& operator=(const CCryptBlob<Blob, OtherA>& other) {
        Assign(other.Bytes());
        return *this;
    }

    std::span<const BYTE> Bytes() const { return {blob_.pbData, blob_.cbData}; }
    bool Empty() const { return blob_.cbData == 0; }

    // Where a library writes a buffer it hands over; whatever was held is released first.
    Blob* Put() {
        Free();
        return &blob_;
    }

    void Free() noexcept {
        A::Free(blob_.pbData, blob_.cbData);
        blob_ = Blob{};
    }

    void Assign(std::span<const BYTE> bytes) {
        std::ranges::copy(bytes, Reset(static_cast<DWORD>(bytes.size())).begin());
    }

    // Replaces the content by size zero bytes, to be written through the span returned.
    std::span<BYTE> Reset(DWORD size) {
        BYTE* data = A::Allocate(size);
        std::fill(data, data + size, BYTE{0});
        Replace(data, size);
        return {data, size};
    }

    // Replaces an obfuscated blob by its plain bytes; NTE_BAD_DATA when it is malformed.
    void Deobfuscate(const core::ObfuscationKey& key) {
        trace::CTraceScope scope("CCryptBlob<T>::Deobfuscate");
        const auto parsed = core::ParseObfuscatedBlob(Bytes());
        if (!parsed) {
            trace::Trace(scope, 0, "bad data");
            ThrowHr(NTE_BAD_DATA);
        }
        const DWORD size = static_cast<DWORD>(parsed->ciphertext.size());
        BYTE* plain = A::Allocate(size);
        core::XteaFeedbackDecipher(parsed->ciphertext, key, parsed->iv, {plain, size});
        Replace(plain, size);
    }

    void HashInPlace(ALG_ID algorithm) {
        DigestBuffer digest{};
        const DWORD size = DigestInto(algorithm, Bytes(), digest);
        Assign({digest.data(), size});
        ::SecureZeroMemory(digest.data(), digest.size());
    }

private:
    void Replace(BYTE* data, DWORD size) noexcept {
        Free();
        blob_.pbData = data;
        blob_.cbData = size;
    }

    Blob blob_{};
};

using CHeapBlob = CCryptBlob<_CRYPTOAPI_BLOB, HeapAllocator>;

// A wide string as a heap blob: its UTF-16 units and the terminating zero unit.
class CWideStringBlob : public CHeapBlob {
public:
    explicit CWideStringBlob(std::wstring_view text);
};
