#pragma once
// TObject: the root of the framework's classes. Every class carries a TClassInfo: its name, its base
// class, a factory (for components that can be created by class name) and its published properties,
// chained to the base's. The form reader and the by-name property helpers (ui/Properties.h) use these
// tables; nothing else in the program needs to know a class at compile time to work with it.
#include <any>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TObject;
class TComponent;
class TClassInfo;

enum class TPropKind { pkInteger, pkEnumeration, pkBoolean, pkSet, pkString, pkStringList, pkClass, pkMethod, pkComponent };

// One published property. Ordinal kinds (integer, enumeration, boolean, set) go through GetOrd/SetOrd;
// enumeration values and set elements are named in Names, in value order (set element n is bit n).
// A class property hands out the object it owns (GetObj); writing to it is done through that object.
// A component property refers to a component it does not own (GetObj reads it, SetRef sets it; a
// description names the component: Menu = MainMenu1).
// A string list property reads and writes its lines whole (GetList/SetList).
// A method property is an event: SetMethod takes a std::any holding the event's std::function type.
struct TPropInfo {
    std::string Name;
    TPropKind Kind = TPropKind::pkInteger;
    std::vector<std::string> Names;
    const TClassInfo* PropClass = nullptr;
    std::function<int64_t(const TObject&)> GetOrd;
    std::function<void(TObject&, int64_t)> SetOrd;
    std::function<std::wstring(const TObject&)> GetStr;
    std::function<void(TObject&, const std::wstring&)> SetStr;
    std::function<std::vector<std::wstring>(const TObject&)> GetList;
    std::function<void(TObject&, const std::vector<std::wstring>&)> SetList;
    std::function<TObject*(TObject&)> GetObj;
    std::function<void(TObject&, TComponent*)> SetRef;
    std::function<void(TObject&, const std::any&)> SetMethod;

    bool IsOrdinal() const;
    bool Writable() const;
};

class TClassInfo {
public:
    using TFactory = TComponent* (*)(TComponent* owner);

    // Registers the class under its name (case-insensitive) so that it can be found and created.
    TClassInfo(const char* name, const TClassInfo* parent, TFactory factory, std::vector<TPropInfo> properties);
    TClassInfo(const TClassInfo&) = delete;
    TClassInfo& operator=(const TClassInfo&) = delete;

    const std::string& Name() const { return FName; }
    const TClassInfo* Parent() const { return FParent; }
    bool InheritsFrom(const TClassInfo& other) const;
    bool CanCreate() const { return FFactory != nullptr; }

    // The property of this class or of the nearest base that declares it (names compare without case).
    const TPropInfo* FindProperty(std::string_view name) const;
    // Every published property, the root class's first.
    std::vector<const TPropInfo*> Properties() const;

    // A new instance owned by owner (the owner frees it); throws EClassNotFound for an abstract class.
    TComponent* Create(TComponent* owner) const;

    // The registered class with that name, or null.
    static const TClassInfo* Find(std::string_view name);

private:
    std::string FName;
    const TClassInfo* FParent;
    TFactory FFactory;
    std::vector<TPropInfo> FProperties;
};

template <typename T>
TComponent* ComponentFactory(TComponent* owner) { return new T(owner); }

// Inside a class body (public part): gives the class its own TClassInfo, defined in its .cpp as
//   const TClassInfo TEdit::MetaClass("TEdit", &TCustomEdit::MetaClass, ComponentFactory<TEdit>, {...});
#define CLARIVO_CLASS                  \
    static const TClassInfo MetaClass; \
    const TClassInfo& ClassType() const override { return MetaClass; }

// The event every component raises for "something happened to me".
using TNotifyEvent = std::function<void(TObject* Sender)>;

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    static const TClassInfo MetaClass;
    virtual const TClassInfo& ClassType() const { return MetaClass; }

    const std::string& ClassName() const { return ClassType().Name(); }
    bool InheritsFrom(const TClassInfo& cls) const { return ClassType().InheritsFrom(cls); }
    bool InheritsFrom(std::string_view className) const;
};
