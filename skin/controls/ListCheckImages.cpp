#include "skin/controls/ListCheckImages.h"

#include "skin/data/SkinData.h"
#include "ui/Bitmap.h"

#include <commctrl.h>

#include <algorithm>

void TListCheckImages::Apply(HWND List, const TSkinData& Skin) {
    if (!List || !(ListView_GetExtendedListViewStyle(List) & LVS_EX_CHECKBOXES)) return;
    if (!Skin.Buttons || Skin.Buttons->CheckBitmap->Empty()) return;
    TBitmap& image = *Skin.Buttons->CheckBitmap;
    const int cells = std::max(Skin.Buttons->CheckFrameCount, 1);
    if (cells < 2) return;
    const int width = image.Width() / cells, height = image.Height();
    // Unchecked and checked, the list's state images 1 and 2.
    TBitmap strip;
    strip.SetPixelFormat(pf24bit);
    strip.SetSize(width * 2, height);
    BitBlt(strip.Canvas()->Handle(), 0, 0, width * 2, height, image.Canvas()->Handle(), 0, 0, SRCCOPY);
    UniqueImageList images(ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 2, 0));
    if (!images) return;
    {
        UniqueBitmap cellsBitmap(strip.ReleaseHandle());
        if (ImageList_AddMasked(images.get(), cellsBitmap.get(), RGB(255, 0, 255)) < 0) return;
    }
    if (FList != List) {
        Restore();
        FList = List;
        FOwn = ListView_GetImageList(List, LVSIL_STATE);
    }
    ListView_SetImageList(List, images.get(), LVSIL_STATE);
    FSkin = std::move(images);  // the skin's images before, if any, go now
    InvalidateRect(List, nullptr, TRUE);
}

void TListCheckImages::Restore() {
    if (FList && !IsWindow(FList)) {
        // The list went without giving them back first, and freed them with its window.
        (void)FSkin.release();
    } else if (FList && ListView_GetImageList(FList, LVSIL_STATE) == FSkin.get()) {
        ListView_SetImageList(FList, FOwn, LVSIL_STATE);
        InvalidateRect(FList, nullptr, TRUE);
    }
    FSkin.reset();
    FList = nullptr;
    FOwn = nullptr;
}
