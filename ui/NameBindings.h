#pragma once
// What a form offers the form reader by name: its event handlers ("FindButtonClick") and the fields
// that are to point at the components the description creates ("Edit1").
#include "ui/Errors.h"

#include <any>
#include <functional>
#include <map>
#include <string>
#include <string_view>

class TComponent;

class TNameBindings {
public:
    // A handler of any event type: F is the form class, method its member function. The reader binds it
    // to an event whose std::function has exactly the method's parameters.
    template <typename F, typename... Args>
    void AddHandler(const std::string& name, F* form, void (F::*method)(Args...)) {
        FHandlers[name] = std::function<void(Args...)>(
            [form, method](Args... args) { (form->*method)(std::forward<Args>(args)...); });
    }
    // A handler given as a ready std::function of the event's type.
    template <typename Fn>
    void AddHandlerFunction(const std::string& name, Fn handler) {
        FHandlers[name] = std::move(handler);
    }
    const std::any* FindHandler(std::string_view name) const;

    // field is set to the component of that name when the reader creates it; the component must be a T.
    template <typename T>
    void AddField(const std::string& name, T*& field) {
        FFields[name] = [&field](TComponent* component) {
            field = dynamic_cast<T*>(component);
            return field != nullptr;
        };
    }
    // Sets the field of that name; false when there is such a field but the component's class does not
    // fit it. Unknown names are fine (not every component needs a field).
    bool BindField(const std::string& name, TComponent* component) const;
    // The names of fields that no component has been bound to since the last reset.
    std::vector<std::string> UnboundFields(const std::vector<std::string>& boundNames) const;

private:
    std::map<std::string, std::any, std::less<>> FHandlers;
    std::map<std::string, std::function<bool(TComponent*)>, std::less<>> FFields;
};
