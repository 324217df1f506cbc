#pragma once
// The searching animation: a magnifying glass circling over a folder, 17 frames that loop.
#include "AviWriter.h"

inline constexpr int FindFileClipWidth = 46;
inline constexpr int FindFileClipHeight = 29;
inline constexpr int FindFileClipFrames = 17;

TClip MakeFindFileClip();
