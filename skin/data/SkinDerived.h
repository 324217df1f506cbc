#pragma once
// Images a skin does not hold directly, made at the end of every load: whole combo box frames (edit
// frame, drop-down button and arrow in one) and their right-to-left mirror, the small arrow button,
// the tool bar background gradient, and the frame colour it is derived from.
#include "ui/Types.h"

class TSkinData;

// The colour of the top border image a third of the way in (the face colour without an image).
TColor SampleFrameColor(TSkinData& Skin);
// Only when the skin has both "SunkEdge" and "ComboButton": ComboButton becomes a strip of whole
// combo frames (Style 2), SunkEdge the same strip mirrored.
void BuildComboImages(TSkinData& Skin);
// ComboArrow: the 17 x 17 button cut out of each whole combo frame, or without SunkEdge the button
// image with its transparent parts in the face colour.
void BuildComboArrow(TSkinData& Skin);
// ToolbarBack: a 10 x 40 vertical gradient from a pale face colour to a lighter frame colour.
void BuildToolbarBack(TSkinData& Skin);

// The combo button's state frames (normal, pressed, disabled, hot), the combo frame cell and the arrow
// cell.
constexpr int ComboButtonFrames = 4;
constexpr int ComboCellWidth = 50;
constexpr int ComboCellHeight = 21;
constexpr int ComboArrowSize = 17;
