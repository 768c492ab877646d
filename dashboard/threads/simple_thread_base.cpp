#include "dashboard/threads/simple_thread_base.h"

#include "win/this_module.h"

CSimpleThreadBase::CSimpleThreadBase() {
    DWORD id = 0;
    thread_.reset(::CreateThread(nullptr, 0, ThreadProc, this, CREATE_SUSPENDED, &id));
    if (thread_) threadId_ = id;
}

void CSimpleThreadBase::Resume() {
    if (!thread_ || started_) return;
    started_ = true;
    ::ResumeThread(thread_.get());
}

void CSimpleThreadBase::WaitForEnd() {
    if (!thread_) return;
    Resume();
    ::WaitForSingleObject(thread_.get(), INFINITE);
}

void CSimpleThreadBase::SetSelfDeleting() {
    selfDeleting_ = true;
    module_.reset(::LoadLibraryW(ModuleFileName(ThisModule()).c_str()));
}

DWORD WINAPI CSimpleThreadBase::ThreadProc(void* object) {
    auto* self = static_cast<CSimpleThreadBase*>(object);
    const DWORD code = self->Run();
    self->threadId_ = 0;
    if (!self->selfDeleting_) return code;
    const HMODULE module = self->module_.release();
    delete self;
    // The host may unload the plug-in as soon as this reference goes, so the thread leaves
    // through the call that drops it and never returns into the plug-in's code.
    if (module) ::FreeLibraryAndExitThread(module, code);
    return code;
}
