// Any bytes as an unpacked archive (the decoder has its own target): every length, count and offset
// must be checked before use. A loaded archive then hands out every member.
#include "skin/data/SkinReader.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TMemoryStream unpacked(std::vector<unsigned char>(data, data + size));
    TSkinReader reader;
    try {
        if (!reader.ReadArchive(unpacked)) return 0;
    } catch (const ESkinArchive&) {
        return 0;
    }
    TMemoryStream out;
    const auto& names = reader.Names();
    for (size_t i = 0; i < names.size(); ++i) {
        // Of equal names the first is found.
        size_t first = static_cast<size_t>(std::find(names.begin(), names.end(), names[i]) - names.begin());
        if (!reader.ExtractMember(names[i], out) || out.Size() != reader.Sizes()[first]) __builtin_trap();
    }
    std::string found;
    reader.FindMember(".ini", out, found);
    return 0;
}
