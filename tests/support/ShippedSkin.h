#pragma once
// A skin component wearing one of the shipped skins, started as a form description starts it: loaded,
// active, registered with the skin manager (which it makes when there is none). For suites and
// benchmarks that skin real windows; they define CLARIVO_SKINS_DIR.
#include "base/MemoryStream.h"
#include "skin/data/SkinData.h"

#include <memory>
#include <string>

// The packed file of a shipped skin ("default", "graphite").
inline std::wstring ShippedSkinPath(const std::string& name) {
    const std::string path = std::string(CLARIVO_SKINS_DIR) + "/" + name + ".skn";
    return std::wstring(path.begin(), path.end());
}

// Owner: the form the component belongs to (it is then skinned as it is first shown), or none.
inline TSkinData* StartShippedSkin(const std::string& name, TComponent* owner) {
    auto* skin = new TSkinData(owner);
    TMemoryStream packed;
    packed.LoadFromFile(ShippedSkinPath(name));
    skin->SkinStream.WriteBuffer(packed.Memory(), static_cast<size_t>(packed.Size()));
    skin->BeginLoading();
    skin->SetActive(true);
    skin->LoadSkin();
    skin->Loaded();
    return skin;
}

inline std::unique_ptr<TSkinData> ShippedSkin(const std::string& name) {
    return std::unique_ptr<TSkinData>(StartShippedSkin(name, nullptr));
}
