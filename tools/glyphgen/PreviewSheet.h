#pragma once
// A picture of every glyph and icon image for a person to judge: each at its real size on a button
// face, on white and on a dark ground, and enlarged with its transparent pixels shown as a checkerboard.
#include "GlyphArt.h"

class TPreviewSheet {
public:
  static TPixmap Render(const TGlyphArt& art);
};
