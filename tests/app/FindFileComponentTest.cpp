// The search component's end: however it is freed, a running search ends while the component is whole
// and while everything its handlers report to is still there, and it ends quietly.
#include "app/FindFileComponent.h"

#include "TempTree.h"
#include "base/WinHandle.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

// Stands for the parts of a window that the search's handlers use; says when it has gone.
class TProbe : public TComponent {
public:
    TProbe(TComponent* owner, std::atomic<bool>& gone) : TComponent(owner), FGone(gone) {}
    ~TProbe() override { FGone = true; }

private:
    std::atomic<bool>& FGone;
};

TEST(FindFileComponentEnd, ARunningSearchEndsQuietlyBeforeTheComponentOrAnythingItReportsToGoes) {
    using TEnd = std::function<void(TComponent* owner, TFindFileComponent* search)>;
    const std::pair<const char*, TEnd> ways[] = {
        {"the component freed on its own", [](TComponent* owner, TFindFileComponent* search) {
             delete search;
             delete owner;
         }},
        {"its owner freed", [](TComponent* owner, TFindFileComponent*) { delete owner; }},
    };
    TTempTree tree;
    for (const auto& [way, end] : ways) {
        auto* owner = new TComponent(nullptr);
        auto* search = new TFindFileComponent(owner);
        std::atomic<bool> probeGone{false};
        new TProbe(owner, probeGone);  // made after the search, so the owner frees it first
        const UniqueKernelHandle walking(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        std::atomic<int> lateEvents{0};
        std::vector<std::string> events;
        search->Threaded = true;
        search->Criteria.Files.FileName = L"*";
        search->Criteria.Files.Location = tree.Root();
        search->OnSearchAbort = [&](TFindFile*) { events.push_back("abort"); };
        search->OnSearchFinish = [&](TFindFile*) { events.push_back("finish"); };
        search->OnFolderChange = [&](TFindFile* sender, const std::wstring&, TFolderIgnore&) {
            // The walk stays in its first folder until it is stopped: it surely runs while being freed.
            SetEvent(walking.get());
            while (!sender->Aborted()) Sleep(1);
            if (!dynamic_cast<TFindFileComponent*>(sender) || probeGone) ++lateEvents;
        };
        search->Execute();
        ASSERT_EQ(WaitForSingleObject(walking.get(), 60000), WAIT_OBJECT_0) << way << ": the walk did not start";
        HANDLE worker = nullptr;
        DuplicateHandle(GetCurrentProcess(), search->ThreadHandle(), GetCurrentProcess(), &worker, SYNCHRONIZE, FALSE, 0);
        const UniqueKernelHandle workerHandle(worker);

        end(owner, search);
        EXPECT_EQ(WaitForSingleObject(workerHandle.get(), 0), WAIT_OBJECT_0) << way << ": the worker has ended";
        EXPECT_EQ(lateEvents, 0) << way << ": the search was stopped only once part of it or a fellow component had gone";
        EXPECT_EQ(events, std::vector<std::string>{}) << way;
    }
}

}  // namespace
