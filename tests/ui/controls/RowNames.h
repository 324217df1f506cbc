#pragma once
// A deterministic spread of row names (eight lower-case letters each) for the list's tests and its
// benchmark.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline std::vector<std::wstring> ManyNames(std::size_t count) {
    std::vector<std::wstring> names;
    std::uint32_t seed = 12345;
    for (std::size_t i = 0; i < count; ++i) {
        std::wstring name;
        for (int c = 0; c < 8; ++c) {
            seed = seed * 1664525u + 1013904223u;
            name += static_cast<wchar_t>(L'a' + (seed >> 24) % 26);
        }
        names.push_back(name);
    }
    return names;
}
