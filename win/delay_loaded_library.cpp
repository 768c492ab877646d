#include "win/delay_loaded_library.h"

#include "win/hresult.h"

FARPROC CDelayLoadedLibrary::Address(const char* entryName) {
    if (!library_) {
        library_.reset(::LoadLibraryW(name_));
        if (!library_) ThrowLastError();
    }
    FARPROC address = ::GetProcAddress(library_.get(), entryName);
    if (!address) ThrowLastError();
    return address;
}
