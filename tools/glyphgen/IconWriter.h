#pragma once
// Writes a Windows icon file: one 32-bit image with alpha per size, each stored as a bottom-up DIB
// followed by its 1-bit AND mask (set where the image is fully transparent, for systems that ignore
// the alpha channel).
#include "Raster.h"

#include <cstdint>
#include <vector>

class TIconWriter {
public:
  // Images must be square, 1 to 256 pixels.
  static std::vector<std::uint8_t> Write(const std::vector<TRaster>& images);
};
