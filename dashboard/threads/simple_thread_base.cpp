#include "dashboard/threads/simple_thread_base.h"

#include "win/this_module.h"

CSimpleThreadBase::CSimpleThreadBase() {
    thread_.Start(ThreadProc, this, true);
    threadId_ = thread_.Id();
}

void CSimpleThreadBase::Resume() {
    if (!thread_ || started_) return;
    started_ = true;
    thread_.Resume();
}

void CSimpleThreadBase::WaitForEnd() {
    if (!thread_) return;
    Resume();
    thread_.Join();
}

void CSimpleThreadBase::SetSelfDeleting() {
    selfDeleting_ = true;
    module_.reset(::LoadLibraryW(ModuleFileName(ThisModule()).c_str()));
}

unsigned __stdcall CSimpleThreadBase::ThreadProc(void* object) {
    auto* self = static_cast<CSimpleThreadBase*>(object);
    const unsigned code = self->Run();
    self->threadId_ = 0;
    if (!self->selfDeleting_) return code;
    const HMODULE module = self->module_.release();
    delete self;
    // The host may unload the plug-in as soon as this reference goes, so the thread leaves
    // through the call that drops it and never returns into the plug-in's code.
    if (module) ::FreeLibraryAndExitThread(module, code);
    return code;
}
