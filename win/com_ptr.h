#pragma once
#include <unknwn.h>
#include <windows.h>

#include <utility>

#include "win/hresult.h"

// Owns one reference to a COM object and releases it when the owner ends. Move-only, so
// that every reference has exactly one owner.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(ComPtr&& o) noexcept : p_(o.release()) {}
    ComPtr& operator=(ComPtr&& o) noexcept {
        reset(o.release());
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() { reset(); }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For calls that hand out a new reference: releases the one held before.
    T** put() {
        reset();
        return &p_;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }
    T* release() { return std::exchange(p_, nullptr); }
    void reset(T* p = nullptr) {
        if (p_) p_->Release();
        p_ = p;
    }

    // The same object through another interface; E_NOINTERFACE and other failures are thrown.
    template <class U>
    ComPtr<U> As(REFIID iid) const {
        ComPtr<U> other;
        Check(p_->QueryInterface(iid, other.put_void()));
        return other;
    }

private:
    T* p_ = nullptr;
};
