#pragma once
// Whether work done over and over holds more GUI handles the longer it goes on. A count read once
// before and once after says little: whatever is made on first use (a painter's surfaces, a skin's
// derived images) or freed late (by work left to a timer) moves it once. So the work runs a few
// rounds first, and then the counts are read three times, after the warm-up and after each half of
// the rounds: a leak grows with the rounds; a count that moved once, up or down, does not.
#include "Pump.h"
#include "ui/HandleCounts.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <source_location>
#include <string>
#include <string_view>
#include <vector>

// Rounds of the work before the first count: enough for every path of it to have run and every
// window to have painted.
constexpr int HandleWarmUpRounds = 3;

// How far a count may end above the warm-up's count: one handle made once after the warm-up (a cache
// filled on a path the warm-up did not happen to take, work deferred across a count) is no leak. Two
// or more, or growth in both halves, is: even one handle lost per round grows in both halves. A count
// that went down is never a leak.
constexpr long HandleGrowthSlack = 1;

inline const char* HandleKindName(THandleKind kind) {
    switch (kind) {
    case THandleKind::Bitmap: return "Bitmap";
    case THandleKind::Region: return "Region";
    case THandleKind::Font: return "Font";
    case THandleKind::Brush: return "Brush";
    case THandleKind::Pen: return "Pen";
    case THandleKind::MemoryDC: return "MemoryDC";
    case THandleKind::WindowDC: return "WindowDC";
    case THandleKind::PaintDC: return "PaintDC";
    case THandleKind::WindowRegion: return "WindowRegion";
    case THandleKind::ImageList: return "ImageList";
    case THandleKind::Menu: return "Menu";
    case THandleKind::Hook: return "Hook";
    case THandleKind::Window: return "Window";
    case THandleKind::Icon: return "Icon";
    }
    return "?";
}

// The program's own counts, and the system's (GetGuiResources; Wine answers 0 to both).
struct THandleSample {
    TGuiHandleCounts Ours;
    long SystemGdi = 0;
    long SystemUser = 0;

    static THandleSample Now() {
        return {GuiHandleCounts(), static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)),
                static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS))};
    }
};

struct THandleGrowth {
    THandleSample Start;   // after the warm-up
    THandleSample Middle;  // after the first half of the rounds
    THandleSample End;     // after the second half
    // Each count that grew with the rounds: its name and its three values.
    std::vector<std::string> Grown;
};

// Runs Action HandleWarmUpRounds times, then Rounds times in two halves, with Settle before each count;
// judges every kind of handle the program counts, and the system's GDI and USER counts.
inline THandleGrowth MeasureHandleGrowth(int rounds, const std::function<void()>& action,
                                         const std::function<void()>& settle = {}) {
    auto run = [&](int times) {
        for (int i = 0; i < times; ++i) action();
        if (settle) settle();
        return THandleSample::Now();
    };
    THandleGrowth growth;
    growth.Start = run(HandleWarmUpRounds);
    growth.Middle = run(rounds / 2);
    growth.End = run(rounds - rounds / 2);

    auto judge = [&](const char* name, auto count) {
        const long c0 = count(growth.Start), c1 = count(growth.Middle), c2 = count(growth.End);
        if ((c0 < c1 && c1 < c2) || c2 - c0 > HandleGrowthSlack)
            growth.Grown.push_back(std::string(name) + " " + std::to_string(c0) + " -> " + std::to_string(c1) +
                                   " -> " + std::to_string(c2));
    };
    for (size_t i = 0; i < HandleKindCount; ++i)
        judge(HandleKindName(static_cast<THandleKind>(i)), [i](const THandleSample& s) { return s.Ours.PerKind[i]; });
    judge("GDI objects the system counts", [](const THandleSample& s) { return s.SystemGdi; });
    judge("USER objects the system counts", [](const THandleSample& s) { return s.SystemUser; });
    return growth;
}

// MeasureHandleGrowth, its counts printed, and one failure (at the caller's line) naming every count
// that grew.
inline THandleGrowth ExpectNoHandleGrowth(std::string_view what, int rounds, const std::function<void()>& action,
                                          const std::function<void()>& settle = {},
                                          std::source_location where = std::source_location::current()) {
    THandleGrowth growth = MeasureHandleGrowth(rounds, action, settle);
    const TGuiHandleCounts &c0 = growth.Start.Ours, &c1 = growth.Middle.Ours, &c2 = growth.End.Ours;
    std::printf("%.*s, %d rounds after %d: GDI %ld -> %ld -> %ld, USER %ld -> %ld -> %ld\n",
                static_cast<int>(what.size()), what.data(), rounds, HandleWarmUpRounds, c0.Gdi, c1.Gdi, c2.Gdi,
                c0.User, c1.User, c2.User);
    if (growth.Grown.empty()) return growth;
    std::string grown;
    for (const std::string& count : growth.Grown) grown += "\n  " + count;
    ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line()))
        << what << ": handles grow with the work over " << rounds << " rounds (after " << HandleWarmUpRounds
        << " to warm up):" << grown;
    return growth;
}

// A settle for windowed work: what the last round posted or deferred has run (the skinners' deferred
// work waits on timers of 100 and 250 ms), and Top has painted, frame and children (painters keep
// their off-screen surfaces from their first paint on), so no count is taken in the middle of it.
inline void SettleAndPaint(HWND top) {
    Pump(60, 10);
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump(1);
}
