#include "base/Thread.h"

#include "base/HandleCounts.h"

#include <process.h>

#include <algorithm>
#include <deque>
#include <exception>
#include <iterator>

namespace {

// The program's first thread runs the static initialisers, so this is the main thread's id.
const DWORD gMainThreadId = GetCurrentThreadId();

constexpr int kPriorities[] = {THREAD_PRIORITY_IDLE,   THREAD_PRIORITY_LOWEST,  THREAD_PRIORITY_BELOW_NORMAL,
                               THREAD_PRIORITY_NORMAL, THREAD_PRIORITY_ABOVE_NORMAL, THREAD_PRIORITY_HIGHEST,
                               THREAD_PRIORITY_TIME_CRITICAL};

constexpr UINT WM_SYNCHRONIZE = WM_APP + 0x3A1;

struct TSyncRequest {
    const std::function<void()>* Method;
    std::exception_ptr Error;
    bool Done = false;
};

// Calls waiting for the main thread. A worker queues its request, wakes the main thread with a posted
// message and sleeps on the condition variable until the main thread has run it. The slim lock and the
// condition variable cost no kernel transition when nobody waits, which keeps a hand-over cheap.
class TSyncQueue {
public:
    void RunOnMainThread(TSyncRequest& request) {
        AcquireSRWLockExclusive(&FLock);
        FPending.push_back(&request);
        ReleaseSRWLockExclusive(&FLock);
        if (HWND window = FWindow.load()) PostMessageW(window, WM_SYNCHRONIZE, 0, 0);
        AcquireSRWLockExclusive(&FLock);
        while (!request.Done) SleepConditionVariableSRW(&FDone, &FLock, INFINITE, 0);
        ReleaseSRWLockExclusive(&FLock);
    }

    bool RunPending() {
        bool ran = false;
        while (TSyncRequest* request = Pop()) {
            try {
                (*request->Method)();
            } catch (...) {
                request->Error = std::current_exception();
            }
            AcquireSRWLockExclusive(&FLock);
            request->Done = true;
            ReleaseSRWLockExclusive(&FLock);
            WakeAllConditionVariable(&FDone);
            ran = true;
        }
        return ran;
    }

    // The message-only window that receives the wake-ups; created on the main thread on first need.
    HWND Window() const { return FWindow.load(); }
    void CreateWindowOnce() {
        if (FWindow.load()) return;
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ClarivoThreadSync";
        RegisterClassExW(&wc);
        FOwnedWindow.reset(CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                           wc.hInstance, nullptr));
        FWindow = FOwnedWindow.get();
    }
    // Other threads see no window before it goes, so they stop posting to it.
    void CloseWindow() {
        FWindow = nullptr;
        FOwnedWindow.reset();
    }

private:
    TSyncRequest* Pop() {
        AcquireSRWLockExclusive(&FLock);
        TSyncRequest* request = nullptr;
        if (!FPending.empty()) {
            request = FPending.front();
            FPending.pop_front();
        }
        ReleaseSRWLockExclusive(&FLock);
        return request;
    }

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_SYNCHRONIZE) {
            TThread::CheckSynchronize();   // requests keep their own failures: nothing escapes
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    struct WindowTraits : TCountedHandle<THandleKind::Window> {
        using Type = HWND;
        static Type Invalid() noexcept { return nullptr; }
        static void Close(Type value) noexcept { DestroyWindow(value); }
    };

    SRWLOCK FLock = SRWLOCK_INIT;
    CONDITION_VARIABLE FDone = CONDITION_VARIABLE_INIT;
    std::deque<TSyncRequest*> FPending;
    std::atomic<HWND> FWindow{nullptr};
    UniqueHandle<WindowTraits> FOwnedWindow;
};

// Never destroyed: a thread may still hand work over while the program ends, and a queue freed by a
// static destructor before then would leave it waiting on freed memory. The window it owns the program
// closes itself (CloseSyncWindow).
TSyncQueue& SyncQueue() {
    static TSyncQueue& queue = *new TSyncQueue;
    return queue;
}

}  // namespace

TThread::TThread() {
    if (IsMainThread()) SyncQueue().CreateWindowOnce();
    unsigned id = 0;
    // _beginthreadex rather than CreateThread so the C runtime's per-thread state is set up properly.
    FHandle.reset(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, ThreadProc, this, CREATE_SUSPENDED, &id)));
    if (!FHandle) throw EThread("Thread creation failed");
    FThreadID = id;
}

TThread::~TThread() {
    if (!FHandle || GetCurrentThreadId() == FThreadID) return;   // freed by its own thread at the end
    if (!FStarted) {
        FDiscarded = true;
        ResumeThread(FHandle.get());
        WaitForSingleObject(FHandle.get(), INFINITE);
        return;
    }
    Terminate();
    WaitForHandle(FHandle.get());
}

void TThread::Start() {
    if (FStarted) return;
    FStarted = true;
    ResumeThread(FHandle.get());
}

DWORD TThread::WaitFor() {
    if (!FStarted) throw EThread("Cannot wait for a thread that was never started");
    if (GetCurrentThreadId() == FThreadID) throw EThread("A thread cannot wait for itself");
    WaitForHandle(FHandle.get());
    DWORD code = 0;
    GetExitCodeThread(FHandle.get(), &code);
    return code;
}

TThreadPriority TThread::Priority() const {
    const int value = GetThreadPriority(FHandle.get());
    const auto found = std::find(std::begin(kPriorities), std::end(kPriorities), value);
    return found == std::end(kPriorities) ? tpNormal : static_cast<TThreadPriority>(found - std::begin(kPriorities));
}

void TThread::SetPriority(TThreadPriority value) { SetThreadPriority(FHandle.get(), kPriorities[value]); }

void TThread::DoTerminate() {
    if (OnTerminate) Synchronize([this] { OnTerminate(this); });
}

unsigned __stdcall TThread::ThreadProc(void* param) {
    auto* self = static_cast<TThread*>(param);
    if (self->FDiscarded) return 0;
    try {
        if (!self->Terminated()) self->Execute();
    } catch (...) {
        // A failure of the thread's work ends the thread quietly; OnTerminate still comes.
    }
    const unsigned result = self->FReturnValue;
    self->FFinished = true;
    try {
        self->DoTerminate();
    } catch (...) {
    }
    if (self->FFreeOnTerminate) delete self;
    return result;
}

void TThread::Synchronize(const std::function<void()>& method) {
    if (IsMainThread()) {
        method();
        return;
    }
    TSyncRequest request{&method, nullptr};
    SyncQueue().RunOnMainThread(request);
    if (request.Error) std::rethrow_exception(request.Error);
}

bool TThread::CheckSynchronize() { return IsMainThread() && SyncQueue().RunPending(); }

void TThread::CloseSyncWindow() {
    if (IsMainThread()) SyncQueue().CloseWindow();
}

DWORD TThread::MainThreadID() noexcept { return gMainThreadId; }

bool TThread::IsMainThread() noexcept { return GetCurrentThreadId() == gMainThreadId; }

DWORD TThread::WaitForHandle(HANDLE handle, DWORD timeout) {
    if (!IsMainThread()) return WaitForSingleObject(handle, timeout);
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        CheckSynchronize();
        DWORD left = timeout;
        if (timeout != INFINITE) {
            const ULONGLONG spent = GetTickCount64() - start;
            left = spent >= timeout ? 0 : static_cast<DWORD>(timeout - spent);
        }
        const DWORD result = MsgWaitForMultipleObjects(1, &handle, FALSE, left, QS_POSTMESSAGE | QS_SENDMESSAGE);
        if (result != WAIT_OBJECT_0 + 1) return result;
        // Take our own wake-ups out of the queue (this also serves sent messages); leave the rest.
        MSG message;
        if (HWND window = SyncQueue().Window())
            while (PeekMessageW(&message, window, WM_SYNCHRONIZE, WM_SYNCHRONIZE, PM_REMOVE)) {}
        else
            PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    }
}
