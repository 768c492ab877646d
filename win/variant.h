#pragma once
#include <oleauto.h>
#include <windows.h>

// A VARIANT that a COM call fills in; whatever it holds is cleared when the owner ends.
class CVariant {
public:
    CVariant() { ::VariantInit(&value_); }
    ~CVariant() { ::VariantClear(&value_); }
    CVariant(const CVariant&) = delete;
    CVariant& operator=(const CVariant&) = delete;

    const VARIANT& get() const { return value_; }
    VARIANT* put() {
        ::VariantClear(&value_);
        return &value_;
    }

private:
    VARIANT value_;
};
