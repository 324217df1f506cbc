#include "ui/ImageList.h"

#include "ui/Errors.h"
#include "ui/Properties.h"

const TClassInfo TImageList::MetaClass("TImageList", &TComponent::MetaClass, ComponentFactory<TImageList>,
                                       {
                                           IntProp<TImageList>("Height", &TImageList::Height, &TImageList::SetHeight),
                                           IntProp<TImageList>("Width", &TImageList::Width, &TImageList::SetWidth),
                                       });

TImageList::TImageList(TComponent* owner) : TComponent(owner) { Recreate(); }

void TImageList::Recreate() {
    FHandle.reset(ImageList_Create(FWidth, FHeight, ILC_COLOR24 | ILC_MASK, 4, 4));
    if (!FHandle) RaiseLastOSError("ImageList_Create");
}

void TImageList::SetSize(int width, int height) {
    if (width == FWidth && height == FHeight) return;
    if (width <= 0 || height <= 0) throw EInvalidGraphic("Invalid image size");
    FWidth = width;
    FHeight = height;
    Recreate();
    Changed();
}

int TImageList::Count() const { return ImageList_GetImageCount(FHandle.get()); }

int TImageList::Add(TBitmap& image, TBitmap* mask) {
    // The list keeps copies: hand it device-dependent copies it can take apart.
    TBitmap strip;
    strip.Assign(&image);
    strip.SetPixelFormat(pf24bit);
    HBITMAP maskHandle = nullptr;
    TBitmap maskCopy;
    if (mask) {
        maskCopy.Assign(mask);
        maskCopy.SetPixelFormat(pf1bit);
        maskHandle = maskCopy.Handle();
    }
    // The bitmaps must not be selected into a DC while the list reads them.
    HBITMAP stripHandle = strip.ReleaseHandle();
    UniqueBitmap stripOwner(stripHandle);
    UniqueBitmap maskOwner(maskHandle ? maskCopy.ReleaseHandle() : nullptr);
    int index = ImageList_Add(FHandle.get(), stripHandle, maskOwner.get());
    if (index < 0) throw EInvalidGraphic("The image list did not take the image");
    Changed();
    return index;
}

int TImageList::AddMasked(TBitmap& image, TColor maskColor) {
    TBitmap strip;
    strip.Assign(&image);
    strip.SetPixelFormat(pf24bit);
    UniqueBitmap owner(strip.ReleaseHandle());
    int index = ImageList_AddMasked(FHandle.get(), owner.get(), ColorToRGB(maskColor));
    if (index < 0) throw EInvalidGraphic("The image list did not take the image");
    Changed();
    return index;
}

void TImageList::Clear() {
    ImageList_Remove(FHandle.get(), -1);
    Changed();
}

void TImageList::LoadFromResourceName(HINSTANCE instance, const wchar_t* name, int width, TColor maskColor) {
    TBitmap strip;
    strip.LoadFromResourceName(instance, name);
    FWidth = width;
    FHeight = strip.Height();
    Recreate();
    AddMasked(strip, maskColor);
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const {
    if (index < 0 || index >= Count() || !canvas.Handle()) return;
    IMAGELISTDRAWPARAMS params{};
    params.cbSize = sizeof params;
    params.himl = FHandle.get();
    params.i = index;
    params.hdcDst = canvas.Handle();
    params.x = x;
    params.y = y;
    params.rgbBk = CLR_NONE;
    params.rgbFg = CLR_DEFAULT;
    params.fStyle = ILD_TRANSPARENT;
    if (!enabled) params.fState = ILS_SATURATE;
    ImageList_DrawIndirect(&params);
}

void TImageList::GetBitmap(int index, TBitmap& image) const {
    image.SetPixelFormat(pf24bit);
    image.SetSize(FWidth, FHeight);
    TCanvas& canvas = *image.Canvas();
    canvas.Brush()->SetColor(clFuchsia);
    canvas.FillRect(TRect::FromBounds(0, 0, FWidth, FHeight));
    Draw(canvas, 0, 0, index);
}

void TImageList::Changed() {
    if (OnChange) OnChange(this);
}
