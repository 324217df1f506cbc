#pragma once
// TComponent: a named object with an owner. The owner frees its components when it goes, the last
// created first. Components read from a form description are in the loading state until Loaded().
#include "ui/Persistent.h"

#include <cstdint>
#include <string>
#include <vector>

enum TComponentStateFlag : uint32_t {
    csLoading = 1u << 0,
    csReading = 1u << 1,
    csDestroying = 1u << 3,
    csDesigning = 1u << 4,  // never set: the program has no designer
};
using TComponentState = uint32_t;

class TComponent : public TPersistent {
public:
    CLARIVO_CLASS

    // Joins owner's Components (the owner then frees it); owner may be null (the caller frees it).
    explicit TComponent(TComponent* owner);
    // Frees the owned components (last to first) and leaves the owner's list.
    ~TComponent() override;

    TComponent* Owner() const { return FOwner; }
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int index) const { return FComponents.at(static_cast<size_t>(index)); }
    const std::vector<TComponent*>& ComponentList() const { return FComponents; }
    // Position in the owner's list, or -1.
    int ComponentIndex() const;

    const std::string& Name() const { return FName; }
    // Names are identifiers, unique (without case) among the owner's components; EComponentError else.
    virtual void SetName(const std::string& name);
    int Tag() const { return FTag; }
    void SetTag(int tag) { FTag = tag; }

    TComponentState ComponentState() const { return FComponentState; }
    bool IsLoading() const { return (FComponentState & csLoading) != 0; }
    bool IsDestroying() const { return (FComponentState & csDestroying) != 0; }

    // The owned component with that name (case-insensitive), or null.
    TComponent* FindComponent(std::string_view name) const;

    // Frees every owned component now, last to first. Whoever frees a form calls this first, so that the
    // components go while the form (and its window) is still whole.
    void DestroyComponents();
    // Marks this component and everything it owns as being destroyed, then has each of them end the work
    // it runs on its own (StopWork), owned components first, while all of them are still whole.
    void Destroying();

    // Called once for every component of a form description after all of them have been read.
    virtual void Loaded();
    // Where a description nests this component: the enclosing one (a control's parent, a menu item's
    // parent item). Nothing by default.
    virtual void SetParentComponent(TComponent* parent);

    // Asks to be told (Notification) when other goes, for a component that refers to it without owning
    // it. Both ways: the two forget each other when either goes.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

    // Entered by the form reader before a description is read into the component.
    void BeginLoading() { FComponentState |= csLoading | csReading; }
    void EndReading() { FComponentState &= ~csReading; }

protected:
    // Ends work the component runs on its own, such as a worker thread, which may use its owner or the
    // owner's other components: Destroying() calls it as destruction begins, before anything is freed.
    // A component freed on its own comes here only through ~TComponent, which reaches no override any
    // more, so a class that overrides this also ends its work in its own destructor.
    virtual void StopWork() {}
    // component is going (a component this one asked to be told about): forget every reference to it.
    virtual void Notification(TComponent* component) { (void)component; }

private:
    void Insert(TComponent* component);
    void Remove(TComponent* component);
    void MarkDestroying();
    void StopAllWork();

    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    std::string FName;
    int FTag = 0;
    TComponentState FComponentState = 0;
};

// Checks that a name can stand as a component name in a form description.
bool IsValidIdent(std::string_view name);
