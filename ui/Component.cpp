#include "ui/Component.h"

#include "base/StrUtils.h"
#include "ui/Errors.h"
#include "ui/Properties.h"

#include <algorithm>

const TClassInfo TComponent::MetaClass(
    "TComponent", &TPersistent::MetaClass, ComponentFactory<TComponent>,
    {
        StrProp<TComponent>(
            "Name", [](const TComponent& c) { return Utf8ToWide(c.Name()); },
            [](TComponent& c, const std::wstring& v) { c.SetName(WideToUtf8(v)); }),
        IntProp<TComponent>("Tag", &TComponent::Tag, &TComponent::SetTag),
    });

bool IsValidIdent(std::string_view name) {
    if (name.empty()) return false;
    auto alpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
    if (!alpha(name[0])) return false;
    return std::all_of(name.begin(), name.end(), [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->Insert(this);
}

TComponent::~TComponent() {
    Destroying();
    DestroyComponents();
    // Whoever refers to this component forgets it now.
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        std::erase(other->FFreeNotifies, this);
        other->Notification(this);
    }
    if (FOwner) FOwner->Remove(this);
}

void TComponent::SetParentComponent(TComponent*) {}

void TComponent::FreeNotification(TComponent* other) {
    if (!other || other == this || std::find(FFreeNotifies.begin(), FFreeNotifies.end(), other) != FFreeNotifies.end())
        return;
    FFreeNotifies.push_back(other);
    other->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    if (!other) return;
    std::erase(FFreeNotifies, other);
    std::erase(other->FFreeNotifies, this);
}

int TComponent::ComponentIndex() const {
    if (!FOwner) return -1;
    auto& list = FOwner->FComponents;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TComponent::SetName(const std::string& name) {
    if (name == FName) return;
    if (!name.empty() && !IsValidIdent(name)) throw EComponentError("\"" + name + "\" is not a valid component name");
    if (!name.empty() && FOwner) {
        TComponent* other = FOwner->FindComponent(name);
        if (other && other != this) throw EComponentError("A component named " + name + " already exists");
    }
    FName = name;
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : FComponents)
        if (SameTextAscii(c->FName, name)) return c;
    return nullptr;
}

void TComponent::DestroyComponents() {
    // Each component leaves the list itself when it is deleted.
    while (!FComponents.empty()) delete FComponents.back();
}

void TComponent::Destroying() {
    if (IsDestroying()) return;
    // All marked first: stopping work may wait, serving messages meanwhile, and a component being
    // destroyed no longer acts on them.
    MarkDestroying();
    StopAllWork();
}

void TComponent::MarkDestroying() {
    FComponentState |= csDestroying;
    for (TComponent* c : FComponents)
        if (!c->IsDestroying()) c->MarkDestroying();
}

void TComponent::StopAllWork() {
    // By index, last to first like the freeing: a message served while some work ends may free a component.
    for (size_t i = FComponents.size(); i-- > 0;)
        if (i < FComponents.size()) FComponents[i]->StopAllWork();
    StopWork();
}

void TComponent::Loaded() { FComponentState &= ~(csLoading | csReading); }

void TComponent::Insert(TComponent* component) {
    FComponents.push_back(component);
    component->FOwner = this;
}

void TComponent::Remove(TComponent* component) {
    auto it = std::find(FComponents.begin(), FComponents.end(), component);
    if (it != FComponents.end()) FComponents.erase(it);
    component->FOwner = nullptr;
}
