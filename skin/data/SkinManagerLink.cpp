#include "skin/data/SkinManagerLink.h"

namespace {
// Constant-initialised: valid before any static constructor runs and after every destructor.
TSkinManagerFactory Factory;
}  // namespace

void SetSkinManagerFactory(const TSkinManagerFactory& Value) { Factory = Value; }

TSkinManagerLink* SkinManagerLink() { return Factory.Find ? Factory.Find() : nullptr; }

TSkinManagerLink* NeedSkinManager() {
    if (TSkinManagerLink* manager = SkinManagerLink()) return manager;
    return Factory.Make ? Factory.Make() : nullptr;
}
