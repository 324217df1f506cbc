// Any bytes as a skin description: every section is listed and every key of every line looked up.
#include "skin/data/QuickIni.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TQuickIni ini;
    ini.LoadFromText(std::string(reinterpret_cast<const char*>(data), size));
    std::vector<std::string> sections;
    ini.ReadSections(sections);
    const size_t lines = ini.Lines().size() < 200 ? ini.Lines().size() : 200;
    for (const auto& section : sections) {
        for (size_t i = 0; i < lines; ++i) {
            const std::string key = TQuickIni::KeyOf(ini.Lines()[i]);
            ini.ReadString(section, key, "");
            ini.ReadInteger(section, key, 0);
        }
    }
    return 0;
}
