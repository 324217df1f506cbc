#include "base/Thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

// A thread whose body is a function.
class TTestThread : public TThread {
public:
    explicit TTestThread(std::function<void(TTestThread&)> body, bool* destroyed = nullptr)
        : FBody(std::move(body)), FDestroyed(destroyed) {}
    ~TTestThread() override {
        if (FDestroyed) *FDestroyed = true;
    }
    using TThread::SetReturnValue;

protected:
    void Execute() override { FBody(*this); }

private:
    std::function<void(TTestThread&)> FBody;
    bool* FDestroyed;
};

TEST(Thread, SynchronizeRunsOnTheMainThreadWhileItWaits) {
    std::vector<DWORD> ranOn;
    TTestThread thread([&](TTestThread& self) {
        for (int i = 0; i < 100; ++i) TThread::Synchronize([&] { ranOn.push_back(GetCurrentThreadId()); });
        self.SetReturnValue(42);
    });
    thread.Start();
    EXPECT_EQ(thread.WaitFor(), 42u);   // a plain blocking wait here would never end
    ASSERT_EQ(ranOn.size(), 100u);
    for (DWORD id : ranOn) EXPECT_EQ(id, GetCurrentThreadId());
    EXPECT_TRUE(thread.Finished());
}

TEST(Thread, SynchronizeIsServedByAMessageLoopAndByCheckSynchronize) {
    std::atomic<int> done{0};
    TTestThread thread([&](TTestThread&) {
        TThread::Synchronize([&] { ++done; });
        TThread::Synchronize([&] { ++done; });
    });
    thread.Start();
    // First hand-over through the message queue, as a window's own loop would serve it ...
    MSG message;
    while (done < 1 && GetMessageW(&message, nullptr, 0, 0)) DispatchMessageW(&message);
    // ... the second by main-thread code that asks for pending calls itself, without messages.
    while (done < 2) TThread::CheckSynchronize();
    thread.WaitFor();
    EXPECT_EQ(done, 2);
}

TEST(Thread, FailuresOfASynchronisedCallComeBackToTheWorker) {
    std::string caught;
    TTestThread thread([&](TTestThread&) {
        try {
            TThread::Synchronize([] { throw std::runtime_error("on main"); });
        } catch (const std::runtime_error& e) {
            caught = e.what();
        }
        throw std::runtime_error("the body's own failure is dropped");
    });
    bool terminated = false;
    thread.OnTerminate = [&](TThread*) { terminated = true; };
    thread.Start();
    thread.WaitFor();
    EXPECT_EQ(caught, "on main");
    EXPECT_TRUE(terminated);
}

TEST(Thread, FreeOnTerminateDeletesAfterOnTerminateRanOnTheMainThread) {
    bool destroyed = false;
    DWORD terminateThread = 0;
    auto* thread = new TTestThread([](TTestThread&) {}, &destroyed);
    thread->SetFreeOnTerminate(true);
    thread->OnTerminate = [&](TThread*) { terminateThread = GetCurrentThreadId(); };
    HANDLE handle = nullptr;
    DuplicateHandle(GetCurrentProcess(), thread->Handle(), GetCurrentProcess(), &handle, SYNCHRONIZE, FALSE, 0);
    const UniqueKernelHandle owned(handle);
    thread->Start();
    EXPECT_EQ(TThread::WaitForHandle(owned.get()), WAIT_OBJECT_0);
    EXPECT_EQ(terminateThread, GetCurrentThreadId());
    EXPECT_TRUE(destroyed);
}

TEST(Thread, TerminateIsSeenByTheBodyAndAThreadNeverStartedNeverRuns) {
    TTestThread looping([](TTestThread& self) {
        while (!self.Terminated()) Sleep(1);
    });
    looping.Start();
    looping.Terminate();
    looping.WaitFor();
    EXPECT_TRUE(looping.Finished());

    bool ran = false;
    { TTestThread never([&](TTestThread&) { ran = true; }); }
    EXPECT_FALSE(ran);
    TTestThread unstarted([](TTestThread&) {});
    EXPECT_THROW(unstarted.WaitFor(), EThread);
}

TEST(Thread, PrioritiesMapToThePlatformsLevels) {
    const std::pair<TThreadPriority, int> cases[] = {
        {tpIdle, THREAD_PRIORITY_IDLE},        {tpLowest, -2}, {tpLower, -1}, {tpNormal, 0}, {tpHigher, 1},
        {tpHighest, 2}, {tpTimeCritical, THREAD_PRIORITY_TIME_CRITICAL},
    };
    TTestThread thread([](TTestThread&) {});
    for (const auto& [priority, level] : cases) {
        thread.SetPriority(priority);
        EXPECT_EQ(GetThreadPriority(thread.Handle()), level);
        EXPECT_EQ(thread.Priority(), priority);
    }
}

TEST(Thread, AfterTheWakeUpWindowIsClosedHandOversWaitForTheMainThreadToAskUntilAThreadMakesANewOne) {
    const auto wakeUpWindow = [] { return FindWindowExW(HWND_MESSAGE, nullptr, L"ClarivoThreadSync", nullptr); };
    { TTestThread made([](TTestThread&) {}); }  // the window exists, whichever tests ran before
    ASSERT_NE(wakeUpWindow(), nullptr);
    TThread::CloseSyncWindow();
    EXPECT_EQ(wakeUpWindow(), nullptr);

    // Nothing wakes the main thread now; the hand-over still runs when the main thread asks for it.
    std::atomic<bool> ran{false};
    std::thread late([&] { TThread::Synchronize([&] { ran = true; }); });
    while (!ran) TThread::CheckSynchronize();
    late.join();

    // A thread made on the main thread brings the window back: a plain message loop serves hand-overs again.
    TTestThread next([&](TTestThread&) { TThread::Synchronize([&] { ran = false; }); });
    ASSERT_NE(wakeUpWindow(), nullptr);
    next.Start();
    MSG message;
    while (ran && GetMessageW(&message, nullptr, 0, 0)) DispatchMessageW(&message);
    next.WaitFor();
    EXPECT_FALSE(ran);
}

TEST(Thread, SynchronizeOnTheMainThreadRunsAtOnce) {
    bool ran = false;
    TThread::Synchronize([&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_TRUE(TThread::IsMainThread());
    EXPECT_EQ(TThread::MainThreadID(), GetCurrentThreadId());
}

}  // namespace
