#include "IconWriter.h"

#include "LittleEndian.h"

#include <stdexcept>

namespace {
unsigned MaskRowBytes(int size) { return (static_cast<unsigned>(size) + 31) / 32 * 4; }

unsigned ImageBytes(int size) {
  const auto n = static_cast<unsigned>(size);
  return 40 + n * n * 4 + MaskRowBytes(size) * n;
}

void PutImage(std::vector<std::uint8_t>& out, const TRaster& image) {
  const int size = image.Width();
  const auto n = static_cast<unsigned>(size);
  Put32(out, 40);
  Put32(out, n);
  Put32(out, n * 2);  // an icon's DIB counts the colour rows and the mask rows together
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, 0);  // BI_RGB
  Put32(out, ImageBytes(size) - 40);
  for (int i = 0; i < 4; ++i) Put32(out, 0);
  for (int y = size - 1; y >= 0; --y)
    for (int x = 0; x < size; ++x) {
      const TRgba8 p = image.Straight(x, y);
      out.insert(out.end(), {p.B, p.G, p.R, p.A});
    }
  for (int y = size - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(MaskRowBytes(size), 0);
    for (int x = 0; x < size; ++x)
      if (image.Straight(x, y).A == 0) row[static_cast<size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    out.insert(out.end(), row.begin(), row.end());
  }
}
}  // namespace

std::vector<std::uint8_t> TIconWriter::Write(const std::vector<TRaster>& images) {
  if (images.empty()) throw std::invalid_argument("an icon needs at least one image");
  for (const TRaster& image : images)
    if (image.Width() != image.Height() || image.Width() < 1 || image.Width() > 256)
      throw std::invalid_argument("icon images must be square, 1 to 256 pixels");
  std::vector<std::uint8_t> out;
  Put16(out, 0);
  Put16(out, 1);  // icon, not cursor
  Put16(out, static_cast<unsigned>(images.size()));
  auto offset = static_cast<unsigned>(6 + 16 * images.size());
  for (const TRaster& image : images) {
    const int size = image.Width();
    out.push_back(static_cast<std::uint8_t>(size & 0xFF));  // 256 is written as 0
    out.push_back(static_cast<std::uint8_t>(size & 0xFF));
    out.push_back(0);  // no palette
    out.push_back(0);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, ImageBytes(size));
    Put32(out, offset);
    offset += ImageBytes(size);
  }
  for (const TRaster& image : images) PutImage(out, image);
  return out;
}
