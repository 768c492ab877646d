#pragma once
#include "win/unique_handle.h"

// A verification context (no key container) of the enhanced RSA provider when it is wanted
// and present, of the base provider otherwise.
class CCryptContext {
public:
    explicit CCryptContext(bool preferEnhanced);

    HCRYPTPROV Get() const { return provider_.get(); }
    bool IsEnhanced() const { return enhanced_; }

    // Once per process, serialised across the suite's processes: when a provider reports a
    // bad signature, every full-RSA provider registered on the machine is registered again.
    static void CheckProvider();

private:
    CryptProvider provider_;
    bool enhanced_ = false;
};
