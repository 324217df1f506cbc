#pragma once
// TImageList: images of one size kept in a system image list, each drawn with a mask (transparent
// parts) made from a mask bitmap or a key colour.
#include "ui/Bitmap.h"
#include "ui/Component.h"
#include "ui/Handles.h"

#include <commctrl.h>

class TImageList : public TComponent {
public:
    CLARIVO_CLASS

    explicit TImageList(TComponent* owner);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // A new image size; the images are dropped.
    void SetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, FHeight); }
    void SetHeight(int height) { SetSize(FWidth, height); }
    int Count() const;
    HIMAGELIST Handle() const { return FHandle.get(); }

    // Adds every image of a strip of images of this list's width; mask may be null. Returns the index of
    // the first one.
    int Add(TBitmap& image, TBitmap* mask);
    // The same, with the pixels of maskColor transparent.
    int AddMasked(TBitmap& image, TColor maskColor);
    void Clear();
    // Replaces the images with the strip in a bitmap resource (its height is the image height).
    void LoadFromResourceName(HINSTANCE instance, const wchar_t* name, int width, TColor maskColor);

    // Draws image index at (x, y) of the canvas, greyed when not enabled.
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;
    // The image (its transparent parts in the key colour clFuchsia) as a 24-bit bitmap.
    void GetBitmap(int index, TBitmap& image) const;

    TNotifyEvent OnChange;

private:
    void Recreate();
    void Changed();

    int FWidth = 16;
    int FHeight = 16;
    UniqueImageList FHandle;
};
