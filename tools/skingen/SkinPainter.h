#pragma once
// Draws every kind of skin image from a theme. Each function returns the whole image as the skin
// stores it: its frames side by side (or stacked, where the element is a vertical strip), in the
// frame order the program's painters pick them by.
#include "Theme.h"

enum class TSign { Close, Maximize, Minimize, Restore, Help, Pin, Rollup, App, Ornament };
enum class TDirection { Left, Right, Up, Down };

class TSkinPainter {
public:
  explicit TSkinPainter(const TTheme& theme) : FTheme(theme) {}

  struct TFrame {
    TPixmap Top, Left, Right, Bottom;  // active frame first, inactive second in each
  };
  // topWidth: width of the title image; its two fixed ends are where icon and buttons sit.
  TFrame WindowFrame(int topWidth) const;
  // 1 normal, 2 pressed, 3 hot, 4 inactive, 5 disabled, 6 inactive hot (the first `frames` of them).
  TPixmap CaptionButton(TSign sign, bool close, int frames = 6) const;
  // A decoration beside the caption text: one frame per state as above, drawn without a button face.
  TPixmap CaptionOrnament() const;
  // Small buttons in the menu bar (minimise, restore and close of a maximised child window),
  // 4 frames each: normal, pressed, disabled, hot.
  TPixmap ChildButtons(int cell, TRgb matte, const std::vector<TSign>& signs) const;
  // Title text background, vertical strip: active, inactive.
  TPixmap TextBack(int width) const;

  // 1 normal, 2 pressed, 3 disabled, 4 hot, 5 focused.
  TPixmap PushButton(int width, int height) const;
  // 1 unchecked, 2 checked, 3 disabled, 4 disabled checked, 5 mixed.
  TPixmap CheckBox(int cell) const;
  // 1 off, 2 on, 3 disabled off, 4 disabled on, 5 hot off.
  TPixmap RadioButton(int cell) const;
  // 1 normal (nothing), 2 pressed, 3 disabled (nothing), 4 hot, 5 checked.
  TPixmap ToolButton(int width, int height) const;

  // Style 0 bar: 1 trough, 2 fill.
  TPixmap Progress(int width, int height) const;
  TPixmap ProgressTrough(int width, int height) const;
  TPixmap ProgressChunk(int width, int height, int gap) const;

  TPixmap MenuBar(int width, int height) const;  // vertical strip: active, inactive
  TPixmap MenuBackground(int size, int gutter) const;
  // 1 normal (nothing), 2 separator (in its bottom rows), 3 disabled highlight, 4 highlight, 5 pressed.
  TPixmap MenuItem(int width, int height, int separatorInset) const;

  TPixmap GroupBoxEdge(int size) const;  // 1 enabled, 2 disabled
  TPixmap GroupBoxLabel(int width, int height) const;
  // 1 normal, 2 selected, 3 hot, 4 disabled, 5 selected hot.
  TPixmap Tabs(int width, int height) const;
  TPixmap TabPane(int size) const;
  TPixmap StatusEdges(int size) const;  // 1 lowered, 2 raised, 3 no bevel
  TPixmap Header(int width, int height) const;  // 1 normal, 2 hot, 3 pressed

  // 1 normal, 2 pressed, 3 disabled, 4 hot (or focused).
  TPixmap ComboButton(int width, int height) const;
  TPixmap SunkEdge(int width, int height) const;
  // Combo arrows (normal, pressed, disabled, hot) and the size grip.
  TPixmap ExtraImages(int cell) const;

  // Arrows (left, right, up, down: normal, pressed, disabled, hot), thumb grips (horizontal,
  // vertical: normal, pressed, hot) and the size-box corner: 23 cells.
  TPixmap ScrollCells(int cell) const;
  TPixmap ScrollTrack(int length, int thickness, bool vertical) const;  // 1 enabled, 2 pressed, 3 disabled, 4 hot
  TPixmap ScrollThumb(int length, int thickness, bool vertical) const;  // 1 normal, 2 pressed, 3 hot

  TPixmap TrackChannel(int length, int thickness, bool vertical) const;
  // 1 disabled, 2 normal, 3 hot, 4 pressed, 5 focused; pointing, or plain when centred.
  TPixmap TrackThumb(int width, int height, TDirection direction, bool pointed) const;
  // Arrow halves of a spin control: 1-4 first arrow, 5-8 second (normal, pressed, disabled, hot).
  TPixmap SpinButtons(int width, int height, bool horizontal) const;
  TPixmap SpinGlyphs(int width, int height, bool horizontal) const;

  // Images of sections this program's engine does not read; kept so the skin is whole for others.
  // grain: the share of pixels, 0 to 1, shifted one step lighter or darker.
  TPixmap FormBackground(int width, int height, double grain) const;
  TPixmap Hint(int size) const;
  TPixmap Splitter(int width, int height) const;
  TPixmap Selection(int width, int height) const;
  TPixmap Logo(int width, int height) const;
  TPixmap Separator(int width, int height) const;
  TPixmap Panel(int size) const;

private:
  const TTheme& FTheme;
};

TPixmap Transposed(const TPixmap& p);
