#include "ui/NameBindings.h"

#include <algorithm>

const std::any* TNameBindings::FindHandler(std::string_view name) const {
    auto it = FHandlers.find(name);
    return it == FHandlers.end() ? nullptr : &it->second;
}

bool TNameBindings::BindField(const std::string& name, TComponent* component) const {
    auto it = FFields.find(name);
    return it == FFields.end() || it->second(component);
}

std::vector<std::string> TNameBindings::UnboundFields(const std::vector<std::string>& boundNames) const {
    std::vector<std::string> missing;
    for (const auto& [name, bind] : FFields)
        if (std::find(boundNames.begin(), boundNames.end(), name) == boundNames.end()) missing.push_back(name);
    return missing;
}
