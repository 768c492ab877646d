#pragma once
#include <windows.h>

#include <string>

// The COM server's module: the library's path for registration, the count of live objects
// and server locks that decides whether the library may be unloaded, and the class map.
class CZTComModule {
public:
    // One entry of the class map: the class, how its cached class object is had, and how it
    // writes and removes its registry entries.
    struct ClassEntry {
        const CLSID* clsid;
        HRESULT (*getClassObject)(REFIID iid, void** object);
        HRESULT (*updateRegistry)(bool doRegister, const std::wstring& modulePath);
    };

    // Records the library's path; its failure code when the path cannot be read.
    HRESULT Init(const ClassEntry* classMap, std::size_t classCount, HINSTANCE instance);
    void Term();

    void Lock() { ::InterlockedIncrement(&locks_); }
    void Unlock() { ::InterlockedDecrement(&locks_); }
    LONG GetLockCount() const { return locks_; }

    HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object) const;
    // Every class of the map, in order; the first failure ends the walk and is returned.
    HRESULT RegisterServer() const;
    HRESULT UnRegisterServer() const;

    const std::wstring& ModulePath() const { return modulePath_; }

private:
    HRESULT UpdateRegistry(const char* scopeName, bool doRegister) const;

    const ClassEntry* classMap_ = nullptr;
    std::size_t classCount_ = 0;
    std::wstring modulePath_;
    volatile LONG locks_ = 0;
};

// The one module of the library.
extern CZTComModule g_module;
