#include "ui/Object.h"

#include "ui/Errors.h"
#include "base/StrUtils.h"
#include "ui/Component.h"

#include <map>

namespace {

// Filled during static initialisation by every TClassInfo, hence built on first use.
std::map<std::string, const TClassInfo*>& Registry() {
    static std::map<std::string, const TClassInfo*> registry;
    return registry;
}

}  // namespace

bool TPropInfo::IsOrdinal() const {
    return Kind == TPropKind::pkInteger || Kind == TPropKind::pkEnumeration || Kind == TPropKind::pkBoolean ||
           Kind == TPropKind::pkSet;
}

bool TPropInfo::Writable() const {
    switch (Kind) {
    case TPropKind::pkString: return static_cast<bool>(SetStr);
    case TPropKind::pkStringList: return static_cast<bool>(SetList);
    case TPropKind::pkClass: return static_cast<bool>(GetObj);
    case TPropKind::pkComponent: return static_cast<bool>(SetRef);
    case TPropKind::pkMethod: return static_cast<bool>(SetMethod);
    default: return static_cast<bool>(SetOrd);
    }
}

TClassInfo::TClassInfo(const char* name, const TClassInfo* parent, TFactory factory,
                       std::vector<TPropInfo> properties)
    : FName(name), FParent(parent), FFactory(factory), FProperties(std::move(properties)) {
    Registry()[LowerCaseAscii(FName)] = this;
}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
    for (const TClassInfo* c = this; c; c = c->FParent)
        if (c == &other) return true;
    return false;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
    for (const TClassInfo* c = this; c; c = c->FParent)
        for (const TPropInfo& p : c->FProperties)
            if (SameTextAscii(p.Name, name)) return &p;
    return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::Properties() const {
    std::vector<const TClassInfo*> chain;
    for (const TClassInfo* c = this; c; c = c->FParent) chain.push_back(c);
    std::vector<const TPropInfo*> result;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        for (const TPropInfo& p : (*it)->FProperties) result.push_back(&p);
    return result;
}

TComponent* TClassInfo::Create(TComponent* owner) const {
    if (!FFactory) throw EClassNotFound("Class " + FName + " cannot be created by name");
    return FFactory(owner);
}

const TClassInfo* TClassInfo::Find(std::string_view name) {
    auto& registry = Registry();
    auto it = registry.find(LowerCaseAscii(name));
    return it == registry.end() ? nullptr : it->second;
}

const TClassInfo TObject::MetaClass("TObject", nullptr, nullptr, {});

bool TObject::InheritsFrom(std::string_view className) const {
    for (const TClassInfo* c = &ClassType(); c; c = c->Parent())
        if (SameTextAscii(c->Name(), className)) return true;
    return false;
}
