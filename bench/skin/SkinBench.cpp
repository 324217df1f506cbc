// Skin load and frame drawing times with the program's default skin:
//  - from the stored "SkinStream" bytes to a finished load (SkinPending false): unpack, index, ini,
//    41 bitmaps, frame counts, derived images;
//  - a nine-part image of 957 x 593 (the main window's size) from the push button element, opaque and
//    transparent;
//  - the cost of one call of DrawSkinImage and DrawSkinFrame at control sizes, beside the same drawing
//    with a new bitmap made for each call (as the routines did before they shared one surface);
//  - the window frame of that size: the four border elements, each drawn as the frame painter does;
//  - the GUI handles the process holds with the skin loaded, after drawing the frame and a sample, and
//    after drawing once from every image of the skin (as a window with every control painted would).
//
// usage: bench_skin [SKIN.SKN [PICTURE.BMP]]   (the picture: the drawn frame with a button, a combo box
//        and the tool bar background in it, for a person to look at)
#include "bench/MedianTime.h"
#include "base/MemoryStream.h"
#include "base/StrUtils.h"
#include "skin/data/SkinData.h"
#include "skin/draw/SkinDraw.h"
#include "ui/HandleCounts.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;


void PrintHandles(const char* when) {
    const TGuiHandleCounts n = GuiHandleCounts();
    std::printf("GUI handles %s: %ld GDI (%ld memory DCs, %ld bitmaps), %ld USER\n", when, n.Gdi,
                n.Of(THandleKind::MemoryDC), n.Of(THandleKind::Bitmap), n.User);
}

// The median time of one call of a and of b in microseconds, each sample timing a batch of calls; the
// samples alternate, so that a load that comes and goes on the machine weighs on both alike.
std::pair<double, double> MedianUsPerCall(const std::function<void()>& a, const std::function<void()>& b) {
    constexpr int Batch = 100, Samples = 31;
    auto batch = [](const std::function<void()>& f) {
        const auto t0 = Clock::now();
        for (int i = 0; i < Batch; ++i) f();
        return std::chrono::duration<double, std::micro>(Clock::now() - t0).count() / Batch;
    };
    std::vector<double> timesA, timesB;
    for (int i = 0; i < Samples; ++i) {
        timesA.push_back(batch(a));
        timesB.push_back(batch(b));
    }
    auto median = [](std::vector<double>& times) {
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    };
    return {median(timesA), median(timesB)};
}

// What DrawSkinImage and DrawSkinFrame cost per call when each call made a bitmap of its own (a DIB
// section, and a DC for it) for the image it draws; the routines now share one surface. BuildSkinImage
// still makes a new bitmap, as its caller keeps the image.
void DrawSkinImageNewBitmap(HDC dc, const TRect& at, TBitmap& image, bool trans, int count,
                            const TSkinMargins& margins) {
    auto built = BuildSkinImage(at, image, margins, false, false, count, 1);
    if (trans)
        DrawTransparent(dc, at, *built, SkinKeyColor);
    else
        BitBlt(dc, at.Left, at.Top, at.Width(), at.Height(), built->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void DrawSkinFrameNewBitmap(HDC dc, const TRect& at, TBitmap& image, int count) {
    TBitmap frame;
    frame.SetPixelFormat(pf24bit);
    frame.SetSize(at.Width(), at.Height());
    const TRect f = SkinFrameRect(image, false, count, 1);
    StretchBlt(frame.Canvas()->Handle(), 0, 0, at.Width(), at.Height(), image.Canvas()->Handle(), f.Left, f.Top,
               f.Width(), f.Height(), SRCCOPY);
    BitBlt(dc, at.Left, at.Top, at.Width(), at.Height(), frame.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void PrintPerCall(const char* what, const std::function<void()>& newBitmap, const std::function<void()>& routine) {
    const auto [before, now] = MedianUsPerCall(newBitmap, routine);
    std::printf("per call, %s: %.1f us with a new bitmap each call, %.1f us now (%.1fx)\n", what, before, now,
                before / now);
}

// A border piece as the frame painter draws it: opaque, the centre tiled unless the skin asks for
// stretching (Tile 1); side images are frames side by side, top and bottom images stacked frames.
void DrawBorder(HDC dc, const TRect& at, TDataSkinObject& e, bool vertical) {
    auto piece = BuildSkinImage(at, *e.Bitmap, e.Margins(), vertical, e.Tile != 1, std::max(e.FrameCount, 1), 1);
    BitBlt(dc, at.Left, at.Top, at.Width(), at.Height(), piece->Canvas()->Handle(), 0, 0, SRCCOPY);
}

// Every image of the loaded skin, as windows with all their controls painted would draw from them.
std::vector<TBitmap*> SkinImages(TSkinData& s) {
    std::vector<TBitmap*> images;
    auto add = [&](TDataSkinObject* e) {
        if (!e) return;
        images.push_back(e->Bitmap.get());
        if (auto* border = dynamic_cast<TDataSkinBorder*>(e)) images.push_back(border->Bitmap2.get());
        if (auto* button = dynamic_cast<TDataSkinButton*>(e)) {
            images.push_back(button->CheckBitmap.get());
            images.push_back(button->RadioBitmap.get());
        }
    };
    const std::unique_ptr<TDataSkinObject>* objects[] = {
        &s.ProgressChunk, &s.MenuBar, &s.GroupBoxEdge, &s.StatusBarEdges, &s.TabPane, &s.ToolBars, &s.SunkEdge,
        &s.ExtraImages, &s.Headerbar, &s.MenuItem, &s.MenuBackground, &s.Scrollbar, &s.HorzScroll, &s.VertScroll,
        &s.HorzScrollThumb, &s.VertScrollThumb, &s.TrackbarThumbHorz, &s.TrackbarThumbVert, &s.TrackbarThumbLeft,
        &s.TrackbarThumbRight, &s.TrackbarThumbUp, &s.TrackbarThumbDown, &s.Track, &s.TrackVert, &s.ComboArrow,
        &s.ToolbarBack};
    const std::unique_ptr<TDataSkinBorder>* borders[] = {&s.BorderLeft, &s.BorderRight, &s.BorderTop, &s.BorderBottom,
                                                         &s.Progress,   &s.Tabs,        &s.ComboButton, &s.UpDownHorz,
                                                         &s.UpDownVert};
    for (auto* o : objects) add(o->get());
    for (auto* b : borders) add(b->get());
    add(s.Buttons.get());
    add(s.Title.get());
    add(s.GroupBox.get());
    for (auto& b : s.CaptionButtons) add(b.get());
    return images;
}

// A button, a combo box in each of its states and the tool bar background inside the drawn frame.
void DrawSample(HDC dc, TSkinData& skin) {
    TDataSkinButton& b = *skin.Buttons;
    DrawSkinImage(dc, {40, 60, 160, 85}, *b.Bitmap, false, b.Tile != 0, b.Trans != 0, b.FrameCount, 1, b.Margins());
    for (int k = 1; skin.ComboButton && k <= skin.ComboButton->FrameCount; ++k) {
        TDataSkinBorder& combo = *skin.ComboButton;
        DrawSkinImage(dc, TRect::FromBounds(40, 100 + 30 * k, 180, 21), *combo.Bitmap, false, false, true,
                      combo.FrameCount, k, combo.Margins());
        DrawSkinImage(dc, TRect::FromBounds(240, 100 + 30 * k, 180, 21), *skin.SunkEdge->Bitmap, false, false, true,
                      skin.SunkEdge->FrameCount, k, skin.SunkEdge->Margins());
    }
    if (skin.ToolbarBack) DrawSkinFrame(dc, {400, 60, 900, 100}, *skin.ToolbarBack->Bitmap, false, 1, 1);
}

int Run(const std::wstring& path, const std::wstring& picture) {
    TMemoryStream packed;
    packed.LoadFromFile(path);
    TMemoryStream stored;
    const auto size = static_cast<int32_t>(packed.Size());
    stored.WriteBuffer(&size, 4);
    stored.WriteBuffer(packed.Memory(), packed.Bytes().size());

    TSkinData skin(nullptr);
    const double load = MedianMs(10, [&] {
        stored.SetPosition(0);
        skin.ReadSkinStream(stored);
        if (skin.SkinPending) throw std::runtime_error("the skin did not load");
    });
    std::printf("skin load (stored stream, %d bytes, to SkinPending false): %.2f ms\n", size, load);
    PrintHandles("with the skin loaded");

    TBitmap target;
    target.SetPixelFormat(pf24bit);
    target.SetSize(957, 593);
    target.Canvas()->Brush()->SetColor(skin.FaceColor);
    target.Canvas()->FillRect({0, 0, 957, 593});
    const TBitmapDCLock targetDC(target);  // kept while drawing from every image of the skin
    HDC dc = targetDC.Handle();
    const TRect window{0, 0, 957, 593};
    TDataSkinButton& button = *skin.Buttons;
    for (bool trans : {false, true}) {
        const double ms = MedianMs(20, [&] {
            DrawSkinImage(dc, window, *button.Bitmap, false, false, trans, button.FrameCount, 1, button.Margins());
        });
        std::printf("nine-part image 957 x 593 (%s): %.2f ms\n", trans ? "transparent" : "opaque", ms);
    }

    const TRect pushButton = TRect::FromBounds(20, 20, 75, 23);
    const TSkinMargins buttonMargins = button.Margins();
    for (bool trans : {false, true}) {
        const int count = button.FrameCount;
        PrintPerCall(trans ? "DrawSkinImage, push button 75 x 23, transparent" : "DrawSkinImage, push button 75 x 23",
                     [&] { DrawSkinImageNewBitmap(dc, pushButton, *button.Bitmap, trans, count, buttonMargins); },
                     [&] { DrawSkinImage(dc, pushButton, *button.Bitmap, false, false, trans, count, 1, buttonMargins); });
    }
    const TRect checkBox = TRect::FromBounds(20, 60, 13, 13), toolBar = TRect::FromBounds(0, 100, 600, 26);
    const int checks = std::max(button.CheckFrameCount, 1);
    PrintPerCall("DrawSkinFrame, check box 13 x 13",
                 [&] { DrawSkinFrameNewBitmap(dc, checkBox, *button.CheckBitmap, checks); },
                 [&] { DrawSkinFrame(dc, checkBox, *button.CheckBitmap, false, checks, 1); });
    TBitmap& toolBarBack = *skin.ToolbarBack->Bitmap;
    PrintPerCall("DrawSkinFrame, tool bar background 600 x 26",
                 [&] { DrawSkinFrameNewBitmap(dc, toolBar, toolBarBack, 1); },
                 [&] { DrawSkinFrame(dc, toolBar, toolBarBack, false, 1, 1); });

    // The frame as the window painter lays it out: the sides over the whole height, the top and bottom
    // strips between them.
    const int top = SkinFrameRect(*skin.BorderTop->Bitmap, true, skin.BorderTop->FrameCount, 1).Height();
    const int bottom = SkinFrameRect(*skin.BorderBottom->Bitmap, true, skin.BorderBottom->FrameCount, 1).Height();
    const int left = SkinFrameRect(*skin.BorderLeft->Bitmap, false, skin.BorderLeft->FrameCount, 1).Width();
    const int right = SkinFrameRect(*skin.BorderRight->Bitmap, false, skin.BorderRight->FrameCount, 1).Width();
    const double frame = MedianMs(20, [&] {
        DrawBorder(dc, {0, 0, left, 593}, *skin.BorderLeft, false);
        DrawBorder(dc, {957 - right, 0, 957, 593}, *skin.BorderRight, false);
        DrawBorder(dc, {left, 593 - bottom, 957 - right, 593}, *skin.BorderBottom, true);
        DrawBorder(dc, {left, 0, 957 - right, top}, *skin.BorderTop, true);
    });
    std::printf("window frame 957 x 593 (four borders: top %d, bottom %d, left %d, right %d px): %.2f ms\n", top,
                bottom, left, right, frame);
    DrawSample(dc, skin);
    PrintHandles("after drawing the frame and a sample of controls");
    int images = 0;
    for (TBitmap* image : SkinImages(skin)) {
        if (image->Empty()) continue;
        DrawSkinFrame(dc, {0, 0, 16, 16}, *image, false, 1, 1);
        ++images;
    }
    const std::string drawn = "after drawing from each of the skin's " + std::to_string(images) + " images";
    PrintHandles(drawn.c_str());
    if (!picture.empty()) {
        TMemoryStream out;
        target.SaveToStream(out);
        out.SaveToFile(picture);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const std::string path = argc > 1 ? argv[1] : std::string(CLARIVO_SKINS_DIR) + "/default.skn";
        return Run(Utf8ToWide(path), argc > 2 ? Utf8ToWide(argv[2]) : std::wstring());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_skin: %s\n", e.what());
        return 1;
    }
}
