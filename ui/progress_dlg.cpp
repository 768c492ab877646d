#include "ui/progress_dlg.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "trace/trace_scope.h"
#include "ui/ui_ids.h"
#include "win/long_path.h"

namespace {

// Private to this dialog; WM_USER + 1 would be DM_SETDEFID, which dialogs already understand.
constexpr UINT kCloseMessage = WM_APP + 1;
constexpr DWORD kWaitMs = 2000;
constexpr int kNoChange = -1;

KernelHandle ManualResetEvent() {
    return KernelHandle(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
}

// Waits for the event while dispatching this thread's messages: the dialog's thread may
// need this one, for instance to disable an owner window that belongs to it. The time is
// a whole, so a stream of messages cannot stretch the wait. The elapsed time is a difference
// of 32-bit tick counts, which stays right across the counter's wrap.
bool WaitDispatching(HANDLE event, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        const DWORD elapsed = ::GetTickCount() - start;
        const DWORD left = elapsed < timeoutMs ? timeoutMs - elapsed : 0;
        const DWORD result = ::MsgWaitForMultipleObjects(1, &event, FALSE, left, QS_ALLINPUT);
        if (result == WAIT_OBJECT_0) return true;
        if (result != WAIT_OBJECT_0 + 1) return false;
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
}

// The security of the creating thread, for the dialog's thread; empty when unavailable.
std::vector<BYTE> OwnThreadSecurity() {
    DWORD needed = 0;
    ::GetKernelObjectSecurity(::GetCurrentThread(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    std::vector<BYTE> descriptor(needed);
    if (needed == 0 || !::GetKernelObjectSecurity(::GetCurrentThread(), DACL_SECURITY_INFORMATION,
                                                  descriptor.data(), needed, &needed)) {
        descriptor.clear();
    }
    return descriptor;
}

// A folder or a path that cannot be read counts as 0 bytes.
std::uint64_t FileSize(const wchar_t* path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(LongPathForm(path).c_str(), GetFileExInfoStandard, &data)) return 0;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return 0;
    return (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

}  // namespace

CProgressDlg::CProgressDlg(HWND owner, std::wstring title)
    : CModalDialog(IDD_PROGRESS), owner_(owner), title_(std::move(title)) {
    // The bar's window class, whether or not the program registered the common controls.
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
    initialised_ = ManualResetEvent();
    threadEnded_ = ManualResetEvent();
    if (!initialised_ || !threadEnded_) return;
    StartThread();
    if (thread_) WaitDispatching(initialised_.get(), kWaitMs);
}

CProgressDlg::~CProgressDlg() {
    CloseProgress();
}

void CProgressDlg::StartThread() {
    std::vector<BYTE> security = OwnThreadSecurity();
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), security.empty() ? nullptr : security.data(), FALSE};
    thread_.Start(ThreadMain, this, false, &attributes);
    if (!thread_) {
        trace::CTraceScope scope("CProgressDlg::StartThread");
        trace::Trace(scope, 0, "The progress dialog's thread could not be started");
    }
}

unsigned __stdcall CProgressDlg::ThreadMain(void* self) {
    static_cast<CProgressDlg*>(self)->RunDialog();
    return 0;
}

void CProgressDlg::RunDialog() {
    const INT_PTR result = DoModal(owner_);
    window_ = nullptr;
    ::SetEvent(initialised_.get());
    if (result == 0) {
        const std::lock_guard guard(lock_);
        cancelled_ = true;
    }
    ::SetEvent(threadEnded_.get());
}

bool CProgressDlg::OnInitDialog(HWND dialog) {
    bar_ = ::GetDlgItem(dialog, IDC_PROGRESS_BAR);
    fileText_ = ::GetDlgItem(dialog, IDC_PROGRESS_FILE);
    ::SendMessageW(bar_, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    if (!title_.empty()) ::SetWindowTextW(dialog, title_.c_str());
    CentreOnWorkArea(dialog);
    BringToForeground(dialog);
    window_ = dialog;
    ::SetEvent(initialised_.get());
    return true;
}

bool CProgressDlg::OnCommand(HWND dialog, WORD id) {
    if (id != IDCANCEL) return false;
    // The run hears the cancel at once, not only once the dialog has finished closing.
    cancelled_ = true;
    ::EndDialog(dialog, 0);
    return true;
}

bool CProgressDlg::OnMessage(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message != kCloseMessage) return false;
    ::EndDialog(dialog, 1);
    return true;
}

HWND CProgressDlg::Window() const {
    const HWND window = window_;
    return window && ::IsWindow(window) ? window : nullptr;
}

void CProgressDlg::SetBar(int percent) const {
    if (percent != kNoChange) ::SendMessageW(bar_, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
}

int CProgressDlg::AdvanceLocked(std::uint64_t delta) {
    if (total_ == 0) return kNoChange;
    done_ += delta;
    accounted_ = true;
    // Files may grow during the run; the bar never goes past full.
    return static_cast<int>(std::min<std::uint64_t>(done_ * 100 / total_, 100));
}

void CProgressDlg::SetTotalRange(std::uint64_t total) {
    trace::CTraceScope scope("CProgressDlg::SetTotalRange");
    if (!Window()) return;
    ::ShowWindow(bar_, SW_SHOW);
    SetBar(0);
    {
        const std::lock_guard guard(lock_);
        total_ = total;
    }
    if (total == 0) SetBar(100);
}

void CProgressDlg::SetPos(std::uint64_t delta) {
    trace::CTraceScope scope("CProgressDlg::SetPos");
    if (!Window()) return;
    int percent;
    {
        const std::lock_guard guard(lock_);
        percent = AdvanceLocked(delta);
    }
    SetBar(percent);
}

void CProgressDlg::Initialize(const wchar_t* fileName) {
    trace::CTraceScope scope("CProgressDlg::Initialize");
    if (!Window()) return;
    if (!fileName || !*fileName) {
        SetBar(100);
        return;
    }
    ::SendMessageW(fileText_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(fileName));
    const std::uint64_t size = FileSize(fileName);
    int percent = kNoChange;
    {
        const std::lock_guard guard(lock_);
        if (!accounted_) percent = AdvanceLocked(currentSize_);
        currentSize_ = size;
        accounted_ = false;
    }
    SetBar(percent);
}

void CProgressDlg::SkipFile(const std::wstring& path) {
    trace::CTraceScope scope("CProgressDlg::SkipFile");
    SetPos(FileSize(path.c_str()));
}

void CProgressDlg::CloseProgress() {
    // The full bar is posted: a dialog thread that no longer answers must not hold up the
    // close, which ends it by force after a while.
    if (Window()) ::PostMessageW(bar_, PBM_SETPOS, 100, 0);
    if (thread_ && ::WaitForSingleObject(threadEnded_.get(), 0) != WAIT_OBJECT_0) {
        if (const HWND window = window_) ::PostMessageW(window, kCloseMessage, 0, 0);
        if (!WaitDispatching(threadEnded_.get(), kWaitMs)) {
            trace::CTraceScope scope("CProgressDlg::CloseProgress");
            trace::Trace(scope, 0, "The progress dialog did not close; its thread is terminated");
            thread_.Terminate(1);
            // Termination only starts the end: the thread may still run until the system
            // stops it, and it uses this object.
            thread_.Join();
        }
    }
    thread_.Close();
}
