#pragma once
// The element records of a loaded skin: an image of equal frames side by side, the fixed edge widths
// that are never stretched, tiling and transparency switches and the state colours. The skin component
// (TSkinData) owns every record and every record owns its bitmaps; nothing is shared between records,
// a record that needs another's image gets its own copy.
#include "skin/draw/SkinDraw.h"
#include "ui/Bitmap.h"

#include <cstdint>
#include <memory>
#include <string>

class TDataSkinObject {
public:
    explicit TDataSkinObject(std::string name) : Name(std::move(name)) {}
    TDataSkinObject(const TDataSkinObject&) = delete;
    TDataSkinObject& operator=(const TDataSkinObject&) = delete;
    virtual ~TDataSkinObject() = default;

    int32_t LeftWidth = 0;
    int32_t TopHeight = 0;
    int32_t RightWidth = 0;
    int32_t BottomHeight = 0;
    std::unique_ptr<TBitmap> Bitmap = std::make_unique<TBitmap>();  // never null; may be empty
    int32_t Trans = 0;
    int32_t Tile = 0;
    std::string Name;
    int32_t FrameCount = 0;
    int32_t Style = 0;
    // Indexes into the skin's colour table; -1 means none.
    int32_t NormalColour = 0;
    int32_t MouseOverColour = 0;
    int32_t PressedColour = 0;
    // The same colours as RGB values (red in the low byte).
    int32_t NormalColour2 = 0;
    int32_t MouseOverColour2 = 0;
    int32_t PressedColour2 = 0;

    // The edges that are never stretched, as the drawing routines take them.
    TSkinMargins Margins() const { return {LeftWidth, TopHeight, RightWidth, BottomHeight}; }
};

// A second image: the tab border, the up-down glyphs or the mirrored combo button.
class TDataSkinBorder : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    std::unique_ptr<TBitmap> Bitmap2 = std::make_unique<TBitmap>();
};

// The caption text placement. Of the base fields, Bitmap is the text background, LeftWidth the text
// shift, TopHeight the vertical shift and RightWidth the right clip.
class TDataSkinTitle : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    static constexpr int32_t NoColor = 0x1FFFFFFF;

    int32_t TextAlignment = 0;
    int32_t TextBackground = 0;
    int32_t FontHeight = 0;
    int32_t TextBackLeft = 0;
    int32_t TextBackRight = 0;
    int32_t ActiveTextColor = 0;    // RGB, or NoColor
    int32_t InactiveTextColor = 0;  // RGB, or NoColor
};

// Push buttons, with the check box and radio button images.
class TDataSkinButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;

    std::unique_ptr<TBitmap> CheckBitmap = std::make_unique<TBitmap>();
    std::unique_ptr<TBitmap> RadioBitmap = std::make_unique<TBitmap>();
    int32_t RadioFrameCount = 0;
    int32_t CheckFrameCount = 0;
    // Whether the skin gave each RGB text colour itself.
    bool HasNormalColour2 = false;
    bool HasMouseOverColour2 = false;
    bool HasPressedColour2 = false;
};

// One caption button; the numbers are read by caption button handling.
class TDataSkinSysButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;

    int32_t Action = 0;
    int32_t Align = 0;
    int32_t XCoord = 0;
    int32_t YCoord = 0;
    int32_t CombineOp = 0;
    int32_t Visibility = 0;
    int32_t Visibility1 = 0;
};

// The background of a group box caption.
class TDataSkinBoxLabel : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;

    int32_t BackgroundLeftShift = 0;
    int32_t BackgroundRightShift = 0;
    int32_t BackgroundAlignment = 0;
};
