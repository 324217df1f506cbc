// Skin load and frame drawing times with the program's default skin:
//  - from the stored "SkinStream" bytes to a finished load (SkinPending false): unpack, index, ini,
//    41 bitmaps, frame counts, derived images;
//  - a nine-part image of 957 x 593 (the main window's size) from the push button element, opaque and
//    transparent;
//  - the window frame of that size: the four border elements, each drawn as the frame painter does.
//
// usage: bench_skin [SKIN.SKN]
#include "base/MemoryStream.h"
#include "base/StrUtils.h"
#include "skin/data/SkinData.h"
#include "skin/window/SkinDraw.h"

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

// Runs f repeatedly (at least `runs` times and about half a second) and returns the median in ms.
double MedianMs(int runs, const std::function<void()>& f) {
    std::vector<double> times;
    const auto start = Clock::now();
    while (static_cast<int>(times.size()) < runs || Clock::now() - start < std::chrono::milliseconds(500)) {
        const auto t0 = Clock::now();
        f();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

TSkinMargins MarginsOf(const TDataSkinObject& e) { return {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight}; }

void Draw(HDC dc, const TRect& at, TDataSkinObject& e, bool vertical) {
    DrawSkinImage(dc, at, *e.Bitmap, vertical, e.Tile != 0, e.Trans != 0, std::max(e.FrameCount, 1), 1, MarginsOf(e));
}

int Run(const std::wstring& path) {
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

    TBitmap target;
    target.SetPixelFormat(pf24bit);
    target.SetSize(957, 593);
    HDC dc = target.Canvas()->Handle();
    const TRect window{0, 0, 957, 593};
    TDataSkinButton& button = *skin.Buttons;
    for (bool trans : {false, true}) {
        const double ms = MedianMs(20, [&] {
            DrawSkinImage(dc, window, *button.Bitmap, false, false, trans, button.FrameCount, 1, MarginsOf(button));
        });
        std::printf("nine-part image 957 x 593 (%s): %.2f ms\n", trans ? "transparent" : "opaque", ms);
    }

    // The frame as the window painter lays it out: top and bottom strips across the whole width, the
    // sides between them.
    const int top = skin.BorderTop->Bitmap->Height() / std::max(skin.BorderTop->FrameCount, 1);
    const int bottom = skin.BorderBottom->Bitmap->Height() / std::max(skin.BorderBottom->FrameCount, 1);
    const int left = skin.BorderLeft->Bitmap->Width() / std::max(skin.BorderLeft->FrameCount, 1);
    const int right = skin.BorderRight->Bitmap->Width() / std::max(skin.BorderRight->FrameCount, 1);
    const double frame = MedianMs(20, [&] {
        Draw(dc, {0, 0, 957, top}, *skin.BorderTop, false);
        Draw(dc, {0, 593 - bottom, 957, 593}, *skin.BorderBottom, false);
        Draw(dc, {0, top, left, 593 - bottom}, *skin.BorderLeft, false);
        Draw(dc, {957 - right, top, 957, 593 - bottom}, *skin.BorderRight, false);
    });
    std::printf("window frame 957 x 593 (four borders: top %d, bottom %d, left %d, right %d px): %.2f ms\n", top,
                bottom, left, right, frame);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const std::string path = argc > 1 ? argv[1] : std::string(CLARIVO_SKINS_DIR) + "/default.skn";
        return Run(Utf8ToWide(path));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_skin: %s\n", e.what());
        return 1;
    }
}
