// Any text is a colour: never more than three 8-bit channels, never a read past the text.
#include "skin/data/SkinColour.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const int32_t colour = ParseColour(text);
    if (colour < 0 || colour > 0xFFFFFF) std::abort();
    if (ReadColour(text, -5) != (text.empty() ? -5 : colour)) std::abort();
    return 0;
}
