#pragma once
// An 8-bit RGB picture: what a drawn bitmap finally holds, and what the BMP writer stores.
#include <cstdint>
#include <string>
#include <vector>

struct TRgb8 {
  std::uint8_t R = 0, G = 0, B = 0;
  bool operator==(const TRgb8&) const = default;
};

// The transparent key colour of every drawn image (skin images and button glyphs).
inline constexpr TRgb8 KeyColour{255, 0, 255};

class TPixmap {
public:
  TPixmap() = default;
  TPixmap(int width, int height, TRgb8 fill = KeyColour);

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool Empty() const { return FWidth == 0 || FHeight == 0; }

  TRgb8 At(int x, int y) const;
  void Set(int x, int y, TRgb8 colour);
  void FillRect(int x, int y, int w, int h, TRgb8 colour);
  // Copies src with its top-left at (x, y), clipped to this picture.
  void Blit(const TPixmap& src, int x, int y);
  // Copies src scaled up by a whole factor.
  void BlitScaled(const TPixmap& src, int x, int y, int scale);
  TPixmap Crop(int x, int y, int w, int h) const;

  // Frames of equal size side by side (horizontal) or stacked (vertical).
  static TPixmap Strip(const std::vector<TPixmap>& frames, bool vertical);

  // A complete Windows BMP file: 24 bits per pixel, bottom-up rows padded to four bytes.
  std::vector<std::uint8_t> ToBmp() const;
  static TPixmap FromBmp(const std::vector<std::uint8_t>& bytes);

private:
  int FWidth = 0, FHeight = 0;
  std::vector<TRgb8> FPixels;
};

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> ReadFile(const std::string& path);
