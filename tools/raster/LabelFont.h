#pragma once
// A 5 x 7 pixel font for the labels of the contact sheet. Letters are shown in capitals.
#include "Pixmap.h"

#include <string_view>

class TLabelFont {
public:
  static constexpr int CellWidth = 6;  // glyph plus one column of spacing
  static constexpr int CellHeight = 8;
  static int TextWidth(std::string_view text, int scale = 1);
  static void Draw(TPixmap& target, int x, int y, std::string_view text, TRgb8 colour, int scale = 1);
};
