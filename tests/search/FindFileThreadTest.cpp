#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "SearchRecorder.h"
#include "TempTree.h"
#include "base/Thread.h"
#include "search/FindFile.h"

namespace {

using Strings = std::vector<std::wstring>;
constexpr UINT WM_TEST_ACTION = WM_APP + 7;

class ThreadedSearch : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 6; ++i) Tree.File(L"f" + std::to_wstring(i) + L"\\file.txt", "x");
        FindFile->Threaded = true;
        FindFile->Criteria.Files.FileName = L"*";
        FindFile->Criteria.Files.Location = Tree.Root();
    }

    // Every walk event hands its work to the main thread and waits for it, as the window does. At the
    // given folder-change event the worker first posts WM_TEST_ACTION to the main thread, so that the
    // main thread acts while the worker waits on that very hand-over.
    void HandOverEvents(int actAtFolder) {
        FindFile->OnFolderChange = [this, actAtFolder](TFindFile*, const std::wstring& folder, TFolderIgnore&) {
            if (++WorkerFolderEvents == actAtFolder) {
                PostThreadMessageW(TThread::MainThreadID(), WM_TEST_ACTION, 0, 0);
                // Hand over only once the main thread has begun to act, so that the hand-over is queued
                // while it acts, however the two threads happen to be scheduled.
                for (int i = 0; i < 10000 && !ActionStarted; ++i) Sleep(1);
            }
            TThread::Synchronize([&] {
                MainThreadEvents.push_back(L"folder " + Events.Relative(folder));
                EXPECT_TRUE(TThread::IsMainThread());
            });
        };
        FindFile->OnFileMatch = [this](TFindFile*, const std::wstring& folder, const TSearchRec& info) {
            TThread::Synchronize([&] { MainThreadEvents.push_back(L"match " + Events.Relative(folder + info.Name)); });
        };
    }

    // Services the main thread's messages, running action when WM_TEST_ACTION arrives, until done().
    template <typename Done, typename Action>
    void Pump(Done done, Action action) {
        const ULONGLONG giveUp = GetTickCount64() + 60000;
        MSG message;
        while (!done() && GetTickCount64() < giveUp) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == WM_TEST_ACTION && !message.hwnd) {
                    ActionStarted = true;
                    action();
                }
                DispatchMessageW(&message);
            }
        }
        ASSERT_TRUE(done()) << "gave up waiting";
    }

    TTempTree Tree;
    std::unique_ptr<TFindFile> FindFile = std::make_unique<TFindFile>();
    TSearchRecorder Events{*FindFile, Tree.Root()};
    int WorkerFolderEvents = 0;
    std::atomic<bool> ActionStarted{false};
    Strings MainThreadEvents;
};

TEST_F(ThreadedSearch, EventsComeOnTheirThreadsInOrder) {
    FindFile->ThreadPriority = tpLowest;
    int workerPriority = 0;
    auto record = FindFile->OnFolderChange;
    FindFile->OnFolderChange = [&](TFindFile* sender, const std::wstring& folder, TFolderIgnore& answer) {
        workerPriority = GetThreadPriority(GetCurrentThread());
        record(sender, folder, answer);
    };
    FindFile->Execute();
    EXPECT_EQ(Events.Log.front(), L"begin");   // raised inside Execute, on the caller
    EXPECT_EQ(Events.BeginThread, GetCurrentThreadId());
    EXPECT_TRUE(FindFile->Busy());
    EXPECT_NE(FindFile->ThreadHandle(), nullptr);
    PumpUntilIdle(*FindFile);

    EXPECT_EQ(Events.FinishThread, GetCurrentThreadId());
    EXPECT_EQ(Events.Log.back(), L"finish");
    EXPECT_EQ(Events.Folders.size(), 7u);
    EXPECT_EQ(Events.Matches.size(), 6u);
    for (DWORD thread : Events.WalkThreads) EXPECT_NE(thread, GetCurrentThreadId());
    EXPECT_EQ(workerPriority, THREAD_PRIORITY_LOWEST);
    EXPECT_EQ(FindFile->ThreadHandle(), nullptr);
    EXPECT_FALSE(FindFile->Aborted());
}

TEST_F(ThreadedSearch, EmptyLocationFinishesWhenTheMainThreadNextServesItsMessages) {
    FindFile->Criteria.Files.Location = L"";
    FindFile->Execute();
    EXPECT_EQ(Events.Log, Strings{L"begin"});
    PumpUntilIdle(*FindFile);
    EXPECT_EQ(Events.Log, (Strings{L"begin", L"finish"}));
}

TEST_F(ThreadedSearch, StopDuringAHandOverLetsTheHandOverCompleteAndFinishes) {
    HandOverEvents(3);
    bool abortReturned = false;
    size_t eventsAtAbort = 0;
    FindFile->Execute();
    Pump([&] { return abortReturned; },
         [&] {
             eventsAtAbort = MainThreadEvents.size();
             FindFile->Abort();   // the worker waits on a hand-over that is still queued
             abortReturned = true;
         });
    EXPECT_FALSE(FindFile->Busy());
    EXPECT_TRUE(Events.AbortedAtFinish);
    EXPECT_EQ(Events.Log.back(), L"finish");   // finish ran before Abort returned
    ASSERT_GE(MainThreadEvents.size(), eventsAtAbort + 1);
    // The pending hand-over ran during Abort's wait; the worker saw the flag then and raised no more.
    EXPECT_EQ(MainThreadEvents.size(), eventsAtAbort + 1);
    EXPECT_EQ(WorkerFolderEvents, 3);
    EXPECT_EQ(Strings(Events.Log.end() - 2, Events.Log.end()), (Strings{L"abort", L"finish"}));
}

TEST_F(ThreadedSearch, DestroyingMidSearchWaitsForTheWorkerWithoutAbortOrFinish) {
    HandOverEvents(2);
    FindFile->Execute();
    HANDLE worker = nullptr;
    DuplicateHandle(GetCurrentProcess(), FindFile->ThreadHandle(), GetCurrentProcess(), &worker, SYNCHRONIZE, FALSE, 0);
    const UniqueKernelHandle workerHandle(worker);
    Pump([&] { return !FindFile; }, [&] { FindFile.reset(); });
    EXPECT_EQ(WaitForSingleObject(workerHandle.get(), 0), WAIT_OBJECT_0);   // the worker has ended
    EXPECT_EQ(Events.Log, Strings{L"begin"});
    EXPECT_EQ(WorkerFolderEvents, 2);
    EXPECT_EQ(MainThreadEvents.size(), 2u);
}

// A message-only window that runs Action when it receives WM_APP.
struct TActionWindow {
    TActionWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = [](HWND window, UINT message, WPARAM w, LPARAM l) -> LRESULT {
            auto* self = reinterpret_cast<TActionWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
            if (self && message == WM_APP) self->Action();
            return DefWindowProcW(window, message, w, l);
        };
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ClarivoActionTest";
        RegisterClassW(&wc);
        Window = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrW(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~TActionWindow() { DestroyWindow(Window); }
    HWND Window;
    std::function<void()> Action;
};

TEST_F(ThreadedSearch, DestroyedByAMessageServedWhileAbortWaits) {
    HandOverEvents(2);
    TActionWindow closer;
    closer.Action = [&] { FindFile.reset(); };   // as a window closing during Stop would
    FindFile->OnSearchAbort = [&](TFindFile*) { PostMessageW(closer.Window, WM_APP, 0, 0); };
    HANDLE worker = nullptr;
    bool abortReturned = false;
    FindFile->Execute();
    DuplicateHandle(GetCurrentProcess(), FindFile->ThreadHandle(), GetCurrentProcess(), &worker, SYNCHRONIZE, FALSE, 0);
    const UniqueKernelHandle workerHandle(worker);
    Pump([&] { return abortReturned; },
         [&] {
             FindFile->Abort();
             abortReturned = true;
         });
    EXPECT_FALSE(FindFile);
    EXPECT_EQ(WaitForSingleObject(workerHandle.get(), 0), WAIT_OBJECT_0);   // ended before the component went
    EXPECT_EQ(Events.Log, Strings{L"begin"});
}

TEST_F(ThreadedSearch, FolderErrorsComeOnTheWorker) {
    FindFile->Criteria.Files.Location = Tree.Path(L"missing");
    FindFile->Execute();
    PumpUntilIdle(*FindFile);
    EXPECT_EQ(Events.Log, (Strings{L"begin", L"folder missing\\", L"error missing\\", L"finish"}));
    ASSERT_EQ(Events.WalkThreads.size(), 2u);
    EXPECT_EQ(Events.WalkThreads[1], Events.WalkThreads[0]);
    EXPECT_NE(Events.WalkThreads[1], GetCurrentThreadId());
}

TEST_F(ThreadedSearch, AFailingWalkStillFinishesQuietly) {
    FindFile->OnFileMatch = [](TFindFile*, const std::wstring&, const TSearchRec&) { throw std::runtime_error("boom"); };
    FindFile->Execute();
    PumpUntilIdle(*FindFile);
    EXPECT_EQ(Events.Log.back(), L"finish");
    EXPECT_FALSE(Events.AbortedAtFinish);
    EXPECT_EQ(FindFile->PreparedSearch(), nullptr);
}

TEST_F(ThreadedSearch, ExecuteWhileBusyAndAbortWhenIdleDoNothing) {
    FindFile->Abort();
    EXPECT_TRUE(Events.Log.empty());
    FindFile->Execute();
    FindFile->Execute();
    PumpUntilIdle(*FindFile);
    EXPECT_EQ(Events.Log.front(), L"begin");
    EXPECT_EQ(std::count(Events.Log.begin(), Events.Log.end(), L"begin"), 1);
    EXPECT_EQ(std::count(Events.Log.begin(), Events.Log.end(), L"finish"), 1);
}

// A window whose procedure counts what reaches it and signals an event on WM_APP.
class WaitWindow : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSW wc{};
        wc.lpfnWndProc = [](HWND window, UINT message, WPARAM w, LPARAM l) -> LRESULT {
            auto* self = reinterpret_cast<WaitWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
            if (self && message != WM_NCDESTROY) self->Received.push_back(message);
            if (self && message == WM_APP) SetEvent(self->Signal.get());
            return DefWindowProcW(window, message, w, l);
        };
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ClarivoWaitTest";
        RegisterClassW(&wc);
        Window = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrW(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    void TearDown() override { DestroyWindow(Window); }

    HWND Window = nullptr;
    UniqueKernelHandle Signal{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::vector<UINT> Received;
};

ULONGLONG ThreadProcessorTime() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto value = [](FILETIME time) { return (ULONGLONG{time.dwHighDateTime} << 32) | time.dwLowDateTime; };
    return value(kernel) + value(user);   // in 100 ns units
}

// Input queued before the wait and input arriving during it are left in the queue, in order, and the
// wait sleeps while they are there; everything else is dispatched, the messages already seen included.
TEST_F(WaitWindow, WaitForWorkerDispatchesMessagesAndLeavesInputQueued) {
    PostMessageW(Window, WM_KEYDOWN, 'A', 0);
    PostMessageW(Window, WM_USER + 1, 0, 0);
    PostMessageW(Window, WM_LBUTTONDOWN, 0, 0);
    PostMessageW(Window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    PostMessageW(Window, WM_USER + 2, 0, 0);
    MSG seen;
    PeekMessageW(&seen, nullptr, 0, 0, PM_NOREMOVE);   // already seen messages must still be served
    // Meanwhile more input comes, and at last the message that ends the wait.
    std::thread poster([window = Window] {
        Sleep(300);
        PostMessageW(window, WM_CHAR, 'b', 0);
        Sleep(300);
        PostMessageW(window, WM_APP, 0, 0);
    });
    const ULONGLONG wallStart = GetTickCount64() * 10000, processorStart = ThreadProcessorTime();
    const DWORD result = TFindFile::WaitForWorker(Signal.get(), 20000);
    const ULONGLONG wall = GetTickCount64() * 10000 - wallStart, processor = ThreadProcessorTime() - processorStart;
    poster.join();

    EXPECT_EQ(result, WAIT_OBJECT_0);   // not WAIT_TIMEOUT: never woken
    EXPECT_EQ(Received, (std::vector<UINT>{WM_USER + 1, WM_USER + 2, WM_APP}));
    std::vector<UINT> queued;
    for (MSG message; PeekMessageW(&message, Window, 0, 0, PM_REMOVE);) queued.push_back(message.message);
    EXPECT_EQ(queued, (std::vector<UINT>{WM_KEYDOWN, WM_LBUTTONDOWN, WM_NCLBUTTONDOWN, WM_CHAR}));
    // A wait woken again and again by the input it leaves queued keeps a processor busy all along.
    EXPECT_LT(processor * 4, wall) << "processor " << processor / 10000 << " ms in a wait of " << wall / 10000 << " ms";
}

TEST_F(WaitWindow, WaitForWorkerEndsOnQuitAndLeavesItForTheProgramsLoop) {
    PostQuitMessage(7);
    EXPECT_EQ(TFindFile::WaitForWorker(Signal.get(), INFINITE), WAIT_OBJECT_0 + 1);
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, UINT{WM_QUIT});
    EXPECT_EQ(message.wParam, 7u);
    EXPECT_EQ(TFindFile::WaitForWorker(GetCurrentProcess(), 0), WAIT_TIMEOUT);   // a pseudo-handle is duplicated
}

}  // namespace
