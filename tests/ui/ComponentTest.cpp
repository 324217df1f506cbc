// Ownership: an owner frees its components last to first, names are unique per owner, and the state
// flags follow loading and destruction.
#include "ui/Component.h"
#include "ui/Errors.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

std::vector<std::string> freed;

class TTracked : public TComponent {
public:
    TTracked(TComponent* owner, std::string label) : TComponent(owner), Label(std::move(label)) {}
    ~TTracked() override {
        freed.push_back(Label);
        WasDestroying = IsDestroying();
    }
    std::string Label;
    bool WasDestroying = false;
};

TEST(Ownership, OwnerFreesComponentsLastToFirst) {
    freed.clear();
    {
        TTracked owner(nullptr, "owner");
        auto* a = new TTracked(&owner, "a");
        new TTracked(a, "a.child");
        new TTracked(&owner, "b");
        new TTracked(&owner, "c");
        EXPECT_EQ(owner.ComponentCount(), 3);
        EXPECT_EQ(a->ComponentIndex(), 0);
    }
    EXPECT_EQ(freed, (std::vector<std::string>{"owner", "c", "b", "a", "a.child"}));
}

TEST(Ownership, FreedComponentLeavesItsOwner) {
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    auto* b = new TComponent(&owner);
    delete a;
    ASSERT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(owner.Components(0), b);
    EXPECT_EQ(b->Owner(), &owner);
}

TEST(Ownership, DestroyComponentsMarksThemDestroying) {
    freed.clear();
    TComponent owner(nullptr);
    auto* t = new TTracked(&owner, "t");
    (void)t;
    owner.Destroying();
    EXPECT_TRUE(owner.IsDestroying());
    owner.DestroyComponents();
    EXPECT_EQ(owner.ComponentCount(), 0);
    EXPECT_EQ(freed, (std::vector<std::string>{"t"}));
}

// Runs work of its own (as a component with a worker thread does) and logs when the work is stopped and
// when the component is freed.
std::vector<std::string> workLog;

class TWorker : public TComponent {
public:
    TWorker(TComponent* owner, std::string label) : TComponent(owner), Label(std::move(label)) {}
    ~TWorker() override { workLog.push_back("free " + Label); }
    std::string Label;

protected:
    void StopWork() override { workLog.push_back("stop " + Label); }
};

TEST(Ownership, EveryOwnedComponentStopsItsWorkOnceBeforeAnyIsFreed) {
    const std::pair<const char*, std::function<void(TComponent*)>> ways[] = {
        {"owner deleted", [](TComponent* owner) { delete owner; }},
        {"Destroying, then the components freed", [](TComponent* owner) {
             owner->Destroying();
             EXPECT_EQ(workLog, (std::vector<std::string>{"stop b", "stop a.child", "stop a"})) << "nothing freed yet";
             owner->DestroyComponents();
             delete owner;
         }},
    };
    for (const auto& [way, end] : ways) {
        workLog.clear();
        auto* owner = new TComponent(nullptr);
        auto* a = new TWorker(owner, "a");
        new TWorker(a, "a.child");
        new TWorker(owner, "b");
        end(owner);
        EXPECT_EQ(workLog, (std::vector<std::string>{"stop b", "stop a.child", "stop a", "free b", "free a", "free a.child"}))
            << way;
    }
}

TEST(Names, UniquePerOwnerAndFoundWithoutCase) {
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    auto* b = new TComponent(&owner);
    a->SetName("Edit1");
    EXPECT_EQ(owner.FindComponent("EDIT1"), a);
    EXPECT_THROW(b->SetName("edit1"), EComponentError);
    EXPECT_THROW(b->SetName("1Edit"), EComponentError);
    EXPECT_THROW(b->SetName("Edit 2"), EComponentError);
    b->SetName("Edit2");
    EXPECT_EQ(owner.FindComponent("Edit2"), b);
    EXPECT_EQ(owner.FindComponent("Edit3"), nullptr);
}

TEST(State, LoadingEndsWithLoaded) {
    TComponent c(nullptr);
    c.BeginLoading();
    EXPECT_TRUE(c.IsLoading());
    c.Loaded();
    EXPECT_FALSE(c.IsLoading());
    EXPECT_EQ(c.ComponentState() & csDesigning, 0u);
}

}  // namespace
