#include "ui/BitBtn.h"

#include "ui/ImageList.h"
#include "ui/Properties.h"

const TClassInfo TBitBtn::MetaClass(
    "TBitBtn", &TButton::MetaClass, ComponentFactory<TBitBtn>,
    GlyphButtonProperties<TBitBtn>({
        IntProp<TBitBtn>("DisabledIndex", &TBitBtn::DisabledIndex, &TBitBtn::SetDisabledIndex),
        IntProp<TBitBtn>("ImageIndex", &TBitBtn::ImageIndex, &TBitBtn::SetImageIndex),
        RefProp<TBitBtn, TImageList>("Images", &TBitBtn::Images, &TBitBtn::SetImages),
    }));

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner), FButtonGlyph([this] { Invalidate(); }) {}

void TBitBtn::SetImages(TImageList* images) {
    if (images == FImages) return;
    if (FImages) RemoveFreeNotification(FImages);
    FImages = images;
    if (FImages) FreeNotification(FImages);
    Invalidate();
}

void TBitBtn::Notification(TComponent* component) {
    TButton::Notification(component);
    if (component == FImages) FImages = nullptr;
}

void TBitBtn::SetImageIndex(int index) {
    FImageIndex = index < -1 ? -1 : index;
    Invalidate();
}

void TBitBtn::SetDisabledIndex(int index) {
    FDisabledIndex = index < -1 ? -1 : index;
    Invalidate();
}

bool TBitBtn::UsesImageList() const { return FImages && FImageIndex >= 0 && FImageIndex < FImages->Count(); }

TSize TBitBtn::GlyphSize() const {
    if (UsesImageList()) return {FImages->Width(), FImages->Height()};
    return FButtonGlyph.ImageSize();
}

void TBitBtn::DrawContent(HDC dc, const TRect& rect, bool pressed) {
    const std::wstring caption = DisplayCaption();
    const UINT format = CaptionFormat() | DT_CENTER;
    RECT measured{0, 0, caption.empty() ? 0 : rect.Width(), 0};
    if (!caption.empty()) DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measured, format | DT_CALCRECT);
    const TGlyphCaptionPlaces places = FButtonGlyph.Place(rect.Size(), GlyphSize(), {measured.right, measured.bottom});
    const TPoint glyphAt{rect.Left + places.Glyph.X, rect.Top + places.Glyph.Y};
    TCanvas canvas;
    canvas.SetHandle(dc);
    if (UsesImageList()) {
        const bool ownDisabled = !Enabled() && FDisabledIndex >= 0 && FDisabledIndex < FImages->Count();
        FImages->Draw(canvas, glyphAt.X, glyphAt.Y, ownDisabled ? FDisabledIndex : FImageIndex, Enabled() || ownDisabled);
    } else {
        FButtonGlyph.Draw(canvas, glyphAt.X, glyphAt.Y, Enabled(), pressed);
    }
    canvas.SetHandle(nullptr);
    DrawButtonCaption(dc, caption, places.Caption.Offset(rect.Left, rect.Top), format, Enabled(), Font()->Color());
}
