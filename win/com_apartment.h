#pragma once
#include <windows.h>

#include <objbase.h>

// The calling thread's single-threaded COM apartment, left when the object goes; a thread that
// could not enter one leaves nothing.
class CComApartment {
public:
    CComApartment() : ok_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~CComApartment() {
        if (ok_) ::CoUninitialize();
    }
    CComApartment(const CComApartment&) = delete;
    CComApartment& operator=(const CComApartment&) = delete;
    bool Ok() const { return ok_; }

private:
    bool ok_;
};
