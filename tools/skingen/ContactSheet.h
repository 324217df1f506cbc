#pragma once
// A picture of a whole skin for a person to judge: a mock window put together from the skin's pieces
// the way the program lays them out (active and inactive), then every image frame by frame, enlarged,
// labelled with its member name, section, size and frame count. Key-coloured pixels show as a
// checkerboard so that transparency is visible.
#include "SkinArt.h"

#include "skin/data/QuickIni.h"

class TContactSheet {
public:
  static TPixmap Render(const TSkinArt& art, const TQuickIni& ini);
};
