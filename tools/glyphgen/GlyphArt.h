#pragma once
// The program's own images: the 24-bit glyphs of the main window's buttons and the program icon, all
// drawn from code so that the same run gives the same bytes.
#include "Pixmap.h"
#include "Raster.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct TGlyphImage {
  std::string File;    // under app/res/
  std::string Button;  // the caption of the button it belongs to
  TPixmap Image;       // the bottom-left pixel is the transparent colour (KeyColour)
};

struct TGlyphArt {
  std::vector<TGlyphImage> Glyphs;
  std::vector<TRaster> IconImages;  // square, largest last
  std::string IconFile;

  // Every file the art makes, by name, in the bytes that are committed.
  std::vector<std::pair<std::string, std::vector<std::uint8_t>>> Files() const;
};

// The colour the glyphs' soft edges are blended with: a light button face like the skins'.
inline constexpr TRgb GlyphMatte{230, 235, 245};

TGlyphArt DrawGlyphArt();
