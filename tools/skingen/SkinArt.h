#pragma once
// The images of one shipped skin, each under the member name its ini gives it.
#include "Pixmap.h"

#include <optional>
#include <string>
#include <vector>

struct TSkinImage {
  std::string File;     // member name, lower case, as the ini names it
  std::string Section;  // the ini section (and key) that names it
  int Frames = 1;       // frames as the program cuts them
  bool Vertical = false;
  TPixmap Image;
};

struct TSkinArt {
  std::string Name;
  std::vector<TSkinImage> Images;
  const TSkinImage* Find(const std::string& file) const;
};

// "default" (the blue skin the program carries) or "graphite"; throws for any other name.
// formGrain replaces the default skin's form texture grain (see SkinArt.cpp) when given.
TSkinArt DrawSkinArt(const std::string& name, std::optional<double> formGrain = std::nullopt);
