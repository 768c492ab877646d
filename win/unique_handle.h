#pragma once
#include <windows.h>
// wincrypt.h needs windows.h first.
#include <wincrypt.h>

#include <utility>

// One owner per resource: the release function is the traits' Close, and nothing is closed
// by hand anywhere else.
template <class Traits>
class UniqueHandle {
public:
    using Value = typename Traits::Value;
    UniqueHandle() = default;
    explicit UniqueHandle(Value v) : value_(v) {}
    UniqueHandle(UniqueHandle&& o) noexcept : value_(o.release()) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        reset(o.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Value get() const { return value_; }
    Value* put() {
        reset();
        return &value_;
    }
    explicit operator bool() const { return Traits::IsValid(value_); }
    Value release() { return std::exchange(value_, Traits::Invalid()); }
    void reset(Value v = Traits::Invalid()) {
        if (Traits::IsValid(value_)) Traits::Close(value_);
        value_ = v;
    }

private:
    Value value_ = Traits::Invalid();
};

template <class T, T kInvalid, auto kClose>
struct SimpleTraits {
    using Value = T;
    static Value Invalid() { return kInvalid; }
    static bool IsValid(Value v) { return v != kInvalid; }
    static void Close(Value v) { kClose(v); }
};

namespace handle_detail {
inline void CloseHandleValue(HANDLE h) {
    ::CloseHandle(h);
}
// In win/registry.cpp, the home of every registry call.
void CloseKey(HKEY key);
inline void CloseFind(HANDLE h) {
    ::FindClose(h);
}
inline void CloseLibrary(HMODULE m) {
    ::FreeLibrary(m);
}
inline void ReleaseProvider(HCRYPTPROV p) {
    ::CryptReleaseContext(p, 0);
}
inline void DestroyKey(HCRYPTKEY k) {
    ::CryptDestroyKey(k);
}
inline void DestroyHash(HCRYPTHASH h) {
    ::CryptDestroyHash(h);
}
inline void FreeLocal(HLOCAL m) {
    ::LocalFree(m);
}
inline void DeleteBitmap(HBITMAP b) {
    ::DeleteObject(b);
}
inline void DeleteFont(HFONT f) {
    ::DeleteObject(f);
}
inline void DestroyIconHandle(HICON i) {
    ::DestroyIcon(i);
}
}  // namespace handle_detail

// Handles whose "none" is INVALID_HANDLE_VALUE, which cannot be a template argument.
template <auto kClose>
struct InvalidValueTraits {
    using Value = HANDLE;
    static Value Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Value v) { return v != INVALID_HANDLE_VALUE && v != nullptr; }
    static void Close(Value v) { kClose(v); }
};

// Files and find handles use INVALID_HANDLE_VALUE for "none"; events, mutexes, threads and
// processes use null.
using FileHandle = UniqueHandle<InvalidValueTraits<handle_detail::CloseHandleValue>>;
using KernelHandle = UniqueHandle<SimpleTraits<HANDLE, nullptr, handle_detail::CloseHandleValue>>;
using FindHandle = UniqueHandle<InvalidValueTraits<handle_detail::CloseFind>>;
using RegKey = UniqueHandle<SimpleTraits<HKEY, nullptr, handle_detail::CloseKey>>;
using Library = UniqueHandle<SimpleTraits<HMODULE, nullptr, handle_detail::CloseLibrary>>;
using CryptProvider = UniqueHandle<SimpleTraits<HCRYPTPROV, 0, handle_detail::ReleaseProvider>>;
using CryptKeyHandle = UniqueHandle<SimpleTraits<HCRYPTKEY, 0, handle_detail::DestroyKey>>;
using CryptHashHandle = UniqueHandle<SimpleTraits<HCRYPTHASH, 0, handle_detail::DestroyHash>>;
// Memory the system allocated for the caller with LocalAlloc, such as security descriptors.
using LocalMemory = UniqueHandle<SimpleTraits<HLOCAL, nullptr, handle_detail::FreeLocal>>;
using BitmapHandle = UniqueHandle<SimpleTraits<HBITMAP, nullptr, handle_detail::DeleteBitmap>>;
using FontHandle = UniqueHandle<SimpleTraits<HFONT, nullptr, handle_detail::DeleteFont>>;
using IconHandle = UniqueHandle<SimpleTraits<HICON, nullptr, handle_detail::DestroyIconHandle>>;
