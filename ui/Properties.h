#pragma once
// Declaring published properties (the factories below build TPropInfo entries for a class's table) and
// reading or writing them by name. The by-name helpers never throw: a missing object, a missing
// property or one of another kind gives the documented default, and a write that cannot be done
// writes nothing.
#include "ui/Object.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <vector>

// ---- Reading and writing by name ----

// Integer properties only; otherwise -1.
int ReadIntegerProperty(const TObject* object, std::string_view name);
// The value's name of an enumeration or boolean property ("False"/"True"); otherwise "".
std::wstring ReadEnumNameProperty(const TObject* object, std::string_view name);
// A set property as text: the names of its elements between brackets ("[btPlay,btStop]"); otherwise "".
std::wstring ReadSetProperty(const TObject* object, std::string_view name);
// String properties; otherwise "".
std::wstring ReadStringProperty(const TObject* object, std::string_view name);
// The object a class property holds, only when it is of the class asked for (or derives from it).
TObject* ReadObjectProperty(TObject* object, std::string_view name, const TClassInfo& cls);
template <typename T>
T* ReadObjectProperty(TObject* object, std::string_view name) {
    return static_cast<T*>(ReadObjectProperty(object, name, T::MetaClass));
}
// Writes text into an integer (decimal or $hex), enumeration or boolean (by value name, any case) or
// string property. Returns whether anything was written.
bool WritePropertyText(TObject* object, std::string_view name, const std::wstring& text);

// The property's description, or null (no object, no such property).
const TPropInfo* FindPropInfo(const TObject* object, std::string_view name);

// ---- Declaring properties ----
// C is the declaring class; getters and setters are its member functions (or anything std::invoke
// accepts with a C&). Pass nullptr as setter for a read-only property.

namespace prop_detail {
inline TPropInfo Make(const char* name, TPropKind kind, std::initializer_list<const char*> names = {}) {
    TPropInfo p;
    p.Name = name;
    p.Kind = kind;
    p.Names.assign(names.begin(), names.end());
    return p;
}

// An ordinal property whose setter takes a V.
template <typename C, typename V, typename Get, typename Set>
TPropInfo Ordinal(const char* name, TPropKind kind, std::initializer_list<const char*> names, Get get, Set set) {
    TPropInfo p = Make(name, kind, names);
    p.GetOrd = [get](const TObject& o) -> int64_t {
        return static_cast<int64_t>(std::invoke(get, static_cast<const C&>(o)));
    };
    if constexpr (!std::is_null_pointer_v<Set>)
        p.SetOrd = [set](TObject& o, int64_t v) { std::invoke(set, static_cast<C&>(o), static_cast<V>(v)); };
    return p;
}
}  // namespace prop_detail

template <typename C, typename Get, typename Set>
TPropInfo IntProp(const char* name, Get get, Set set) {
    return prop_detail::Ordinal<C, int>(name, TPropKind::pkInteger, {}, get, set);
}

template <typename C, typename Get, typename Set>
TPropInfo BoolProp(const char* name, Get get, Set set) {
    return prop_detail::Ordinal<C, bool>(name, TPropKind::pkBoolean, {"False", "True"}, get, set);
}

// E is the enumeration type; names are its values' names in order.
template <typename C, typename E, typename Get, typename Set>
TPropInfo EnumProp(const char* name, std::initializer_list<const char*> names, Get get, Set set) {
    return prop_detail::Ordinal<C, E>(name, TPropKind::pkEnumeration, names, get, set);
}

// A set held as a bit mask (element n = bit n) of type S.
template <typename C, typename S, typename Get, typename Set>
TPropInfo SetProp(const char* name, std::initializer_list<const char*> names, Get get, Set set) {
    return prop_detail::Ordinal<C, S>(name, TPropKind::pkSet, names, get, set);
}

template <typename C, typename Get, typename Set>
TPropInfo StrProp(const char* name, Get get, Set set) {
    TPropInfo p = prop_detail::Make(name, TPropKind::pkString);
    p.GetStr = [get](const TObject& o) -> std::wstring { return std::invoke(get, static_cast<const C&>(o)); };
    if constexpr (!std::is_null_pointer_v<Set>)
        p.SetStr = [set](TObject& o, const std::wstring& v) { std::invoke(set, static_cast<C&>(o), v); };
    return p;
}

// Lines of text, read and written whole: get returns them, set takes a const std::vector<std::wstring>&.
template <typename C, typename Get, typename Set>
TPropInfo StrListProp(const char* name, Get get, Set set) {
    TPropInfo p = prop_detail::Make(name, TPropKind::pkStringList);
    p.GetList = [get](const TObject& o) -> std::vector<std::wstring> { return std::invoke(get, static_cast<const C&>(o)); };
    p.SetList = [set](TObject& o, const std::vector<std::wstring>& v) { std::invoke(set, static_cast<C&>(o), v); };
    return p;
}

// An owned sub-object of class T (a font, a bitmap, criteria): written through the object itself.
template <typename C, typename T, typename Get>
TPropInfo ClassProp(const char* name, Get get) {
    TPropInfo p = prop_detail::Make(name, TPropKind::pkClass);
    p.PropClass = &T::MetaClass;
    p.GetObj = [get](TObject& o) -> TObject* { return std::invoke(get, static_cast<C&>(o)); };
    return p;
}

// A reference to a component of class T that the object does not own (null: none).
template <typename C, typename T, typename Get, typename Set>
TPropInfo RefProp(const char* name, Get get, Set set) {
    TPropInfo p = prop_detail::Make(name, TPropKind::pkComponent);
    p.PropClass = &T::MetaClass;
    p.GetObj = [get](TObject& o) -> TObject* { return std::invoke(get, static_cast<C&>(o)); };
    p.SetRef = [set](TObject& o, TComponent* v) { std::invoke(set, static_cast<C&>(o), static_cast<T*>(v)); };
    return p;
}

// An event: member is the std::function data member that holds it.
template <typename C, typename Fn>
TPropInfo EventProp(const char* name, Fn C::*member) {
    TPropInfo p = prop_detail::Make(name, TPropKind::pkMethod);
    p.SetMethod = [member](TObject& o, const std::any& handler) {
        static_cast<C&>(o).*member = std::any_cast<const Fn&>(handler);
    };
    return p;
}
