#pragma once
// TThread: one worker thread in the framework's style. The thread is created suspended and runs
// Execute once Start is called. OnTerminate and Synchronize calls run on the main thread (the one that
// started the program), delivered through its message queue: a main-thread wait that services its
// queue, or one of the waits below, lets them run. Windows only.
//
// The wake-ups go to a message-only window that the first TThread created on the main thread makes;
// until one exists, and once the program has closed it (CloseSyncWindow) at its end, synchronised calls
// from other threads (std::thread, say) run only when the main thread calls CheckSynchronize or waits in
// WaitFor / WaitForHandle.
//
// A derived class whose Execute uses the derived object's own members must end the thread (Terminate,
// WaitFor) in its own destructor: by the time ~TThread runs those members are gone.
#include <windows.h>

#include <atomic>
#include <functional>

#include "base/Exception.h"
#include "base/WinHandle.h"

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class EThread : public Exception { using Exception::Exception; };

class TThread {
public:
    TThread();
    virtual ~TThread();
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // Lets the suspended thread run Execute. Only the first call counts.
    void Start();
    void Resume() { Start(); }

    // Asks Execute to end; Execute looks at Terminated at points of its choosing.
    void Terminate() noexcept { FTerminated = true; }
    bool Terminated() const noexcept { return FTerminated; }
    // Start has been called.
    bool Started() const noexcept { return FStarted; }
    // Execute has returned (or failed).
    bool Finished() const noexcept { return FFinished; }

    // Waits until the thread has ended and returns its exit code; on the main thread, synchronised
    // calls (OnTerminate included) keep running meanwhile.
    DWORD WaitFor();

    HANDLE Handle() const noexcept { return FHandle.get(); }
    DWORD ThreadID() const noexcept { return FThreadID; }
    TThreadPriority Priority() const;
    void SetPriority(TThreadPriority value);
    // The object deletes itself once OnTerminate has run. Such an object must be created with new.
    bool FreeOnTerminate() const noexcept { return FFreeOnTerminate; }
    void SetFreeOnTerminate(bool value) noexcept { FFreeOnTerminate = value; }

    // Raised on the main thread once Execute has ended, whatever way it ended.
    std::function<void(TThread* Sender)> OnTerminate;

    // Runs method on the main thread and returns when it is done; on the main thread it runs at once.
    // An exception thrown by method comes out of Synchronize on the calling thread.
    static void Synchronize(const std::function<void()>& method);
    // Runs every synchronised call waiting for the main thread. Main thread only; true if any ran.
    static bool CheckSynchronize();
    // Destroys the wake-up window (main thread only; elsewhere nothing happens). The program calls it at
    // its end, once its threads have ended; a TThread made on the main thread later makes a new one.
    static void CloseSyncWindow();
    static DWORD MainThreadID() noexcept;
    static bool IsMainThread() noexcept;
    // Waits for a handle. On the main thread synchronised calls and messages sent from other threads
    // are served meanwhile (nothing else is dispatched); elsewhere a plain wait. Returns the wait result.
    static DWORD WaitForHandle(HANDLE handle, DWORD timeout = INFINITE);

protected:
    virtual void Execute() = 0;
    // Raises OnTerminate on the main thread.
    virtual void DoTerminate();
    void SetReturnValue(DWORD value) noexcept { FReturnValue = value; }

private:
    static unsigned __stdcall ThreadProc(void* param);

    UniqueKernelHandle FHandle;
    DWORD FThreadID = 0;
    DWORD FReturnValue = 0;
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFinished{false};
    bool FStarted = false;
    bool FDiscarded = false;   // destroyed before it was started: the body must not run
    bool FFreeOnTerminate = false;
};
