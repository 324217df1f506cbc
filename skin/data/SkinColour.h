#pragma once
// Colour texts of the skin description ("59 97 131"). Platform-free, so the host build tests and
// fuzzes it like the rest of the skin input.
#include <cstdint>
#include <string_view>

// Red, green and blue from up to three decimal numbers; any non-digit separates them. A number still
// open at the end of the text counts only as the third one (so "5" alone is black, "1 2" is red 1).
// Each component is taken modulo 256. The result is red + green * 256 + blue * 65536.
int32_t ParseColour(std::string_view Text);

// Default for an empty text, ParseColour otherwise.
int32_t ReadColour(std::string_view Text, int32_t Default);
