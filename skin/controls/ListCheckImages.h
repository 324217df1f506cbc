#pragma once
// The check boxes of a list view's rows are its state images: while the list is skinned they are the
// skin's unchecked and checked cells, and the list's own come back after. A list destroys the state
// images it holds, so its own must be back before its window goes (Restore on WM_DESTROY).
#include "ui/Handles.h"

#include <windows.h>

class TSkinData;

class TListCheckImages {
public:
    TListCheckImages() = default;
    ~TListCheckImages() { Restore(); }
    TListCheckImages(const TListCheckImages&) = delete;
    TListCheckImages& operator=(const TListCheckImages&) = delete;

    // The skin's cells in place of List's state images (again after a skin change); a list without
    // check boxes, or a skin without a check image, is left as it is.
    void Apply(HWND List, const TSkinData& Skin);
    // The list's own state images back, if the list still holds the skin's.
    void Restore();
    // The skin's images while they are in place, else null.
    HIMAGELIST Images() const { return FSkin.get(); }

private:
    HWND FList = nullptr;
    HIMAGELIST FOwn = nullptr;  // the list's own, which the list frees
    UniqueImageList FSkin;
};
