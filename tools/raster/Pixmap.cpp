#include "Pixmap.h"

#include "LittleEndian.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

TPixmap::TPixmap(int width, int height, TRgb8 fill)
    : FWidth(width), FHeight(height), FPixels(static_cast<size_t>(width) * static_cast<size_t>(height), fill) {
  if (width < 0 || height < 0) throw std::invalid_argument("negative picture size");
}

TRgb8 TPixmap::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) throw std::out_of_range("pixel outside the picture");
  return FPixels[static_cast<size_t>(y) * static_cast<size_t>(FWidth) + static_cast<size_t>(x)];
}

void TPixmap::Set(int x, int y, TRgb8 colour) {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return;
  FPixels[static_cast<size_t>(y) * static_cast<size_t>(FWidth) + static_cast<size_t>(x)] = colour;
}

void TPixmap::FillRect(int x, int y, int w, int h, TRgb8 colour) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) Set(i, j, colour);
}

void TPixmap::Blit(const TPixmap& src, int x, int y) { BlitScaled(src, x, y, 1); }

void TPixmap::BlitScaled(const TPixmap& src, int x, int y, int scale) {
  for (int j = 0; j < src.FHeight * scale; ++j)
    for (int i = 0; i < src.FWidth * scale; ++i) Set(x + i, y + j, src.At(i / scale, j / scale));
}

TPixmap TPixmap::Crop(int x, int y, int w, int h) const {
  TPixmap out(w, h);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) out.Set(i, j, At(x + i, y + j));
  return out;
}

TPixmap TPixmap::Strip(const std::vector<TPixmap>& frames, bool vertical) {
  if (frames.empty()) return {};
  const int w = frames.front().Width(), h = frames.front().Height();
  TPixmap out(vertical ? w : w * static_cast<int>(frames.size()), vertical ? h * static_cast<int>(frames.size()) : h);
  for (size_t k = 0; k < frames.size(); ++k) {
    if (frames[k].Width() != w || frames[k].Height() != h) throw std::invalid_argument("frames differ in size");
    const int offset = static_cast<int>(k) * (vertical ? h : w);
    out.Blit(frames[k], vertical ? 0 : offset, vertical ? offset : 0);
  }
  return out;
}

namespace {
unsigned Get32(const std::vector<std::uint8_t>& in, size_t at) {
  if (at + 4 > in.size()) throw std::runtime_error("BMP too short");
  return unsigned(in[at]) | unsigned(in[at + 1]) << 8 | unsigned(in[at + 2]) << 16 | unsigned(in[at + 3]) << 24;
}
size_t RowBytes(int width) { return (static_cast<size_t>(width) * 3 + 3) & ~size_t(3); }
}  // namespace

std::vector<std::uint8_t> TPixmap::ToBmp() const {
  const size_t row = RowBytes(FWidth);
  const auto imageSize = static_cast<unsigned>(row * static_cast<size_t>(FHeight));
  std::vector<std::uint8_t> out;
  out.reserve(54 + imageSize);
  out.push_back('B');
  out.push_back('M');
  Put32(out, 54 + imageSize);
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, static_cast<unsigned>(FWidth));
  Put32(out, static_cast<unsigned>(FHeight));
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);  // BI_RGB
  Put32(out, imageSize);
  Put32(out, 2835);  // 72 dpi, as paint programs write it
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = FHeight - 1; y >= 0; --y) {
    const size_t start = out.size();
    for (int x = 0; x < FWidth; ++x) {
      const TRgb8 c = At(x, y);
      out.push_back(c.B);
      out.push_back(c.G);
      out.push_back(c.R);
    }
    out.resize(start + row, 0);
  }
  return out;
}

TPixmap TPixmap::FromBmp(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') throw std::runtime_error("not a BMP file");
  const auto width = static_cast<int>(Get32(bytes, 18));
  const auto height = static_cast<int>(Get32(bytes, 22));
  if ((Get32(bytes, 26) >> 16) != 24 || Get32(bytes, 30) != 0 || width < 0 || height <= 0)
    throw std::runtime_error("only bottom-up 24-bit BMP files are read");
  const size_t offset = Get32(bytes, 10), row = RowBytes(width);
  if (offset + row * static_cast<size_t>(height) > bytes.size()) throw std::runtime_error("BMP pixel data cut short");
  TPixmap out(width, height);
  for (int y = 0; y < height; ++y) {
    const size_t at = offset + row * static_cast<size_t>(height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const size_t p = at + static_cast<size_t>(x) * 3;
      out.Set(x, y, {bytes[p + 2], bytes[p + 1], bytes[p]});
    }
  }
  return out;
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
