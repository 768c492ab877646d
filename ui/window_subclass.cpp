#include "ui/window_subclass.h"

namespace {

constexpr wchar_t kProperty[] = L"ZTWindowSubclass";

}  // namespace

void CWindowSubclass::Attach(HWND window) {
    Detach();
    if (!window) return;
    window_ = window;
    ::SetPropW(window, kProperty, this);
    previous_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWindowSubclass::Procedure)));
}

void CWindowSubclass::Detach() {
    if (!window_) return;
    ::SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    ::RemovePropW(window_, kProperty);
    window_ = nullptr;
    previous_ = nullptr;
}

LRESULT CWindowSubclass::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::CallWindowProcW(previous_, window_, message, wParam, lParam);
}

LRESULT CALLBACK CWindowSubclass::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<CWindowSubclass*>(::GetPropW(window, kProperty));
    if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
    if (message != WM_NCDESTROY) return self->OnMessage(message, wParam, lParam);
    // The window's own procedure still has to see its end; nothing of it remains after.
    const WNDPROC previous = self->previous_;
    self->Detach();
    return ::CallWindowProcW(previous, window, message, wParam, lParam);
}
