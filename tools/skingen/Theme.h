#pragma once
// The colours and measures one skin is drawn with. Both shipped skins are drawn by the same painter
// from their own theme, so they differ in look while every element keeps the layout its painter in
// the program expects.
#include "Raster.h"

#include <vector>

// A filled, outlined shape: fill runs Top -> Upper above the gloss split, Lower -> Bottom below it.
struct TLook {
  TRgb Border;
  TRgb Top, Upper, Lower, Bottom;
  double Split = 0.5;  // share of the height where the gloss breaks
  double Shine = 0.0;  // opacity of the one-pixel light line just inside the border
};

struct TTheme {
  TRgb Face;      // dialog and control background
  TRgb Field;     // edit and list background
  TRgb Text;      // dark text and glyph colour
  TRgb GreyedText;  // greyed glyphs

  // Window frame: a virtual window is drawn whole and cut into the four border images.
  int TitleHeight;
  int SideWidth;
  int BottomHeight;
  double Corner;  // radius of the top corners; the pixels outside become the key colour
  std::vector<TStop> CaptionActive, CaptionInactive;  // rows of the title bar, pixel centres
  TRgb OutlineActive, OutlineInactive;
  TRgb SideActive, SideInactive;
  TRgb InnerEdge;  // the line where frame meets client

  // Caption buttons.
  int CaptionButton;  // square size
  double CaptionRadius;
  TLook CapNormal, CapHot, CapPressed, CapInactive;
  TLook CloseNormal, CloseHot, ClosePressed;
  TRgb Sign, SignShadow, SignInactive;

  // Push buttons, tool buttons, combo buttons, scroll arrows.
  double Radius;
  TLook Normal, Hot, Pressed, Disabled, Focused;
  TRgb FocusRing;

  // Check and radio boxes.
  TLook Box, BoxHot, BoxDisabled;
  TRgb Mark, MarkDisabled;

  // Edits and combo frames.
  TRgb FieldBorder, FieldBorderHot, FieldBorderDisabled, FieldDisabled;

  // Scroll bars.
  TLook Track, TrackDisabled;
  TLook Thumb, ThumbHot, ThumbPressed;
  TRgb Grip;

  // Progress.
  TLook Trough, Fill;

  // Menus.
  TRgb MenuBarTop, MenuBarBottom, MenuBarLine;
  TRgb MenuBarInactiveTop, MenuBarInactiveBottom;
  TRgb Menu, MenuBorder, MenuGutter;
  TLook MenuHighlight, MenuPressed;

  // Tabs, headers, status bar, group boxes.
  TLook Tab, TabHot, TabSelected;
  TRgb PaneBorder, Pane;
  TLook Header, HeaderHot, HeaderPressed;
  TRgb HeaderSeparator;
  TRgb StatusTop, StatusBottom, StatusShadow, StatusLight;
  TRgb GroupEdge;
  TLook GroupLabel;
  TRgb Accent;  // selection and highlight colour
};

const TTheme& BlueTheme();
const TTheme& GraphiteTheme();
