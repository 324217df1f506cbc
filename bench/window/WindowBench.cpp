// Window benchmark: Clarivo's real window searching in-process, its "Find" clicked and the run waited
// out until the list shows every row, beside a raw FindFirstFileExW walk of the same tree, on
//   - the walk benchmark's tree (20,420 folders, 200,000 files, 1% of them hidden and system), in both
//     modes, and
//   - a tree of the same shape in which every second file is hidden and system: 100,000 rows to list.
// Meanwhile a second thread keeps asking the window to answer a message (WM_NULL) and to repaint its
// list, and records how long each took. Prints medians, ratios to the raw walk and the latencies.
//
// Usage: bench_window [runs]   (default 3; the trees are generated once and reused)
#include "bench/search/BenchUtil.h"
#include "bench/search/WalkTree.h"
#include "app/Form1.h"
#include "app/Launcher.h"
#include "base/StrUtils.h"
#include "ui/Animate.h"
#include "ui/Application.h"
#include "ui/ListView.h"
#include "ui/StatusBar.h"
#include "ui/RadioButton.h"
#include "ui/ShellTreeView.h"
#include "ui/SpeedButton.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

std::wstring FullPath(const std::wstring& path) {
    wchar_t full[MAX_PATH];
    return std::wstring(full, GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr));
}

// Latencies in milliseconds, gathered from a second thread while the window searches.
//
// The probe only ever waits for the window's thread with a time-out, and the window's thread waits for the
// probe only while serving its messages: a call into the window system that waits for the window's
// thread (RedrawWindow with RDW_UPDATENOW, a SendMessage without time-out) made just as the window's
// thread begins a plain wait for the probe would leave each waiting for the other for good. A probe that
// times out records the time-out as its latency.
class TResponsiveness {
public:
    static constexpr UINT kTimeoutMs = 10000;

    TResponsiveness(HWND form, HWND list) : FForm(form), FList(list) {
        FThread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
        if (!FThread) {
            std::printf("cannot start the responsiveness probe\n");
            std::exit(1);
        }
    }
    ~TResponsiveness() { Stop(); }

    // Serves this (the window's) thread's messages until the probe has ended: its last request may be
    // waiting for them.
    void Stop() {
        if (!FThread) return;
        FStop = true;
        while (MsgWaitForMultipleObjects(1, &FThread, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0)
            Application().ProcessMessages();
        CloseHandle(FThread);
        FThread = nullptr;
    }
    const std::vector<double>& Answer() const { return FAnswer; }
    const std::vector<double>& Paint() const { return FPaint; }
    int TimedOut() const { return FTimedOut; }

private:
    static DWORD WINAPI Run(void* self) {
        static_cast<TResponsiveness*>(self)->Probe();
        return 0;
    }

    void Probe() noexcept {
        try {
            while (!FStop) {
                FAnswer.push_back(Milliseconds([this] { Send(FForm, WM_NULL); }));
                // A repaint of one pixel of the list, waited for as RDW_UPDATENOW would wait (which sends the
                // window its WM_PAINT), but with a time-out: enough to make the list paint without the
                // probe's own drawing weighing.
                FPaint.push_back(Milliseconds([this] {
                    const RECT pixel{0, 0, 1, 1};
                    RedrawWindow(FList, &pixel, nullptr, RDW_INVALIDATE);
                    Send(FList, WM_PAINT);
                }));
                Sleep(50);
            }
        } catch (...) {
        }
    }

    void Send(HWND window, UINT message) {
        DWORD_PTR result;
        if (!SendMessageTimeoutW(window, message, 0, 0, SMTO_NORMAL, kTimeoutMs, &result)) ++FTimedOut;
    }

    template <typename Work>
    static double Milliseconds(Work work) {
        return TimeSeconds(work) * 1000;
    }

    HWND FForm, FList;
    std::atomic<bool> FStop{false};
    std::atomic<int> FTimedOut{0};
    std::vector<double> FAnswer, FPaint;
    HANDLE FThread = nullptr;
};

double ThreadCpuSeconds();

// Where the window's thread spends its time: every message to the window and the controls that take part
// in a search is timed on its way through (the time of a message includes what it sends on to others,
// so the buckets are each window's own share only where nothing nests, which holds for these).
class TThreadProfile {
public:
    struct TWindow {
        const char* Name;
        HWND Handle;
    };
    explicit TThreadProfile(std::vector<TWindow> windows) : FWindows(std::move(windows)) {
        for (std::size_t i = 0; i < FWindows.size(); ++i)
            SetWindowSubclass(FWindows[i].Handle, Proc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    }
    ~TThreadProfile() {
        for (const TWindow& w : FWindows) RemoveWindowSubclass(w.Handle, Proc, kSubclassId);
    }

    // Seconds by activity, then by window and message, largest first.
    void Print(double wall) const {
        double total = 0;
        for (const auto& [key, seconds] : FSeconds) total += seconds;
        std::printf("    window's thread, by activity (%.3f s inside messages, %.0f%% of the clock; each message's own time):\n",
                    total, 100 * total / wall);
        for (const auto& [activity, seconds] : Sorted(FActivities))
            std::printf("      %-52s %7.3f s  (processor %.3f s)\n", activity.c_str(), seconds, FActivityCpu.at(activity));
        std::printf("      by window and message:\n");
        const auto rows = Sorted(FSeconds);
        for (std::size_t i = 0; i < rows.size() && i < 6; ++i)
            std::printf("        %-50s %7.3f s\n", rows[i].first.c_str(), rows[i].second);
    }
    const std::map<std::string, double>& Activities() const { return FActivities; }
    const std::map<std::string, double>& ActivityCpu() const { return FActivityCpu; }

    static constexpr const char* kProbe = "probe's requests (measured apart)";
    static constexpr const char* kDrain = "feed draining (notes applied, rows stored)";
    static constexpr const char* kRowText = "row text (the list asks for shown rows' texts)";
    static constexpr const char* kList = "list merge and push (sync, timer, row count)";
    static constexpr const char* kStatus = "status line (set and painted)";
    static constexpr const char* kPaint = "painting (list, form, tree)";
    static constexpr const char* kAnimation = "animation";
    static constexpr const char* kOther = "other";

private:
    static constexpr UINT_PTR kSubclassId = 0xBE7C;
    static constexpr UINT_PTR kFeedTimerId = 1;   // the window's timer that drains the search's feed

    static std::vector<std::pair<std::string, double>> Sorted(const std::map<std::string, double>& map) {
        std::vector<std::pair<std::string, double>> rows(map.begin(), map.end());
        std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
        return rows;
    }

    // Each message's own time: what the messages it sends on take is theirs (a list's paint asks its
    // parent for the rows' texts, and the parent hands that back to the list).
    // Processor time is taken the same way from the thread's own times: they advance in clock ticks, but a
    // tick falls into a message as likely as the message's share of the processor, so the sums are sound.
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
        auto* self = reinterpret_cast<TThreadProfile*>(data);
        const double start = Now(), cpuStart = ThreadCpuSeconds();
        const double nestedBefore = self->FNested, nestedCpuBefore = self->FNestedCpu;
        const LRESULT result = DefSubclassProc(wnd, msg, wp, lp);
        const double spent = Now() - start, cpu = ThreadCpuSeconds() - cpuStart;
        const double own = spent - (self->FNested - nestedBefore), ownCpu = cpu - (self->FNestedCpu - nestedCpuBefore);
        self->FSeconds[self->Key(wnd, msg, wp)] += own;
        const std::string activity = self->Activity(wnd, msg, wp);
        self->FActivities[activity] += own;
        self->FActivityCpu[activity] += ownCpu;
        self->FNested = nestedBefore + spent;
        self->FNestedCpu = nestedCpuBefore + cpu;
        return result;
    }

    const char* Name(HWND wnd) const {
        for (const TWindow& w : FWindows)
            if (w.Handle == wnd) return w.Name;
        return "?";
    }

    std::string Activity(HWND wnd, UINT msg, WPARAM wp) const {
        // The probe's own requests come from its thread, and all they lead to runs inside them.
        if (InSendMessage()) return kProbe;
        const std::string name = Name(wnd);
        if (name == "status bar") return kStatus;
        if (name == "animation") return kAnimation;
        if (name == "form" && msg == WM_TIMER && wp == kFeedTimerId) return kDrain;
        if (msg == WM_NOTIFY || msg == 0xBC4E) return kRowText;
        if (msg == WM_PAINT || msg == WM_ERASEBKGND || msg == WM_NCPAINT || msg == WM_PRINTCLIENT) return kPaint;
        if (name == "list" && (msg == WM_TIMER || msg >= WM_USER)) return kList;
        return kOther;
    }

    static double Now() {
        LARGE_INTEGER count, frequency;
        QueryPerformanceCounter(&count);
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
    }

    std::string Key(HWND wnd, UINT msg, WPARAM wp) const {
        const char* name = Name(wnd);
        if (InSendMessage()) return std::string(name) + ", probe";
        const char* what = msg == WM_PAINT ? "paint" : msg == WM_TIMER ? "timer" : msg == WM_NULL ? "probe (WM_NULL)"
                         : msg == WM_ERASEBKGND ? "erase" : msg == WM_NCPAINT ? "frame paint"
                         : msg == WM_NOTIFY ? "notifications" : msg == 0xBC4E ? "notifications reflected"
                         : msg == LVM_SETITEMCOUNT ? "item count" : msg >= WM_USER ? "own messages" : "other";
        char key[96];
        std::snprintf(key, sizeof key, msg == WM_TIMER ? "%s, %s %llu" : "%s, %s", name, what,
                      static_cast<unsigned long long>(wp));
        return key;
    }

    std::vector<TWindow> FWindows;
    std::map<std::string, double> FSeconds, FActivities, FActivityCpu;
    double FNested = 0, FNestedCpu = 0;  // time of every message so far, nested ones included once
};

double Seconds(FILETIME time) {
    return static_cast<double>((uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime) / 1e7;
}

// Seconds of processor time used so far by this process (all its threads) and by the calling thread:
// less swayed than the clock by other work on a busy machine, and they tell the window's thread (the
// hand-over, the list, the painting) from the walk.
double ProcessCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return Seconds(kernel) + Seconds(user);
}
double ThreadCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    return Seconds(kernel) + Seconds(user);
}

// Wall-clock and processor seconds of one call of work.
struct TTimes {
    double Wall = 0, Cpu = 0, ThreadCpu = 0;
};
template <typename Work>
TTimes Measure(Work work) {
    const double cpu = ProcessCpuSeconds(), threadCpu = ThreadCpuSeconds();
    TTimes times;
    times.Wall = TimeSeconds(work);
    times.Cpu = ProcessCpuSeconds() - cpu;
    times.ThreadCpu = ThreadCpuSeconds() - threadCpu;
    return times;
}

double Percentile(std::vector<double> values, double fraction) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(values.size())));
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

struct TWindowRun {
    TTimes Times;
    int Rows = 0;
    int TimedOut = 0;
    std::vector<double> Answer, Paint;
    std::map<std::string, double> Activities, ActivityCpu;
};

// Selects root in the tree, chooses the mode, clicks "Find" as a user would and serves the window's
// messages until the search has finished and the list window shows every row.
TWindowRun SearchInWindow(TForm1& form, const std::wstring& root, bool fileOnly) {
    if (!form.ShellTreeView1->SetPath(root)) {
        std::printf("the tree cannot reach %ls\n", root.c_str());
        std::exit(1);
    }
    (fileOnly ? form.Checkfile : form.RadioButton1)->SetChecked(true);
    Application().ProcessMessages();

    bool finished = false;
    const TSearchEvent finish = form.FindFile1->OnSearchFinish;
    form.FindFile1->OnSearchFinish = [&](TFindFile* sender) {
        finish(sender);
        finished = true;
    };
    const HWND list = form.FoundFiles->Handle();
    const LPARAM at = MAKELPARAM(form.FindButton->Left() + form.FindButton->Width() / 2,
                                 form.FindButton->Top() + form.FindButton->Height() / 2);

    TWindowRun run;
    TThreadProfile profile({{"form", form.Handle()}, {"list", list}, {"status bar", form.StatusBar1->Handle()},
                            {"animation", form.Animate->Handle()}, {"tree", form.ShellTreeView1->Handle()}});
    TResponsiveness probe(form.Handle(), list);
    run.Times = Measure([&] {
        PostMessageW(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(form.Handle(), WM_LBUTTONUP, 0, at);
        const ULONGLONG deadline = GetTickCount64() + 15 * 60 * 1000;
        while (!finished || ListView_GetItemCount(list) != form.FoundFiles->Count()) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            Application().ProcessMessages();
            if (GetTickCount64() > deadline) {
                std::printf("the search in %ls did not end within 15 minutes: %s, %d rows, the list window shows %d\n",
                            root.c_str(), finished ? "finished" : "not finished", form.FoundFiles->Count(),
                            ListView_GetItemCount(list));
                std::exit(2);
            }
        }
    });
    probe.Stop();
    profile.Print(run.Times.Wall);
    run.Activities = profile.Activities();
    run.ActivityCpu = profile.ActivityCpu();
    run.TimedOut = probe.TimedOut();
    form.FindFile1->OnSearchFinish = finish;
    run.Rows = form.FoundFiles->Count();
    run.Answer = probe.Answer();
    run.Paint = probe.Paint();
    return run;
}

struct TCase {
    TCase(const char* name, std::wstring root, bool fileOnly) : Name(name), Root(std::move(root)), FileOnly(fileOnly) {}
    const char* Name;
    std::wstring Root;
    bool FileOnly;
    std::vector<double> Raw, Window, RawCpu, WindowCpu, WindowThreadCpu, Ratio, CpuRatio, Answer, Paint;
    TWalkCounts Counts;
    int Rows = 0;
    // The window's thread: processor time less the probe's requests, and that against the raw walk's
    // processor time, per run; seconds by activity over the runs.
    std::vector<double> ThreadCpuLessProbe, ThreadShare, ThreadShareLessProbe;
    std::map<std::string, std::vector<double>> Activities, ActivityCpu;
    int TimedOut = 0;
};

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const std::wstring walkTree = FullPath(BesideExe(Utf8ToWide(WALK_BENCH_FOLDER) + L"\\walk-tree"));
    const std::wstring matchTree = BesideExe(L"match-tree");
    if (!IsComplete(walkTree)) GenerateTree(walkTree);
    if (!IsComplete(matchTree)) {
        TTreeShape shape;
        shape.HiddenFileEvery = 2;
        GenerateTree(matchTree, shape);
    }

    Application().Initialize();
    Application().SetTitle(L"Clarivo");
    SetShellOpener([](const TShellRequest&) { return true; });  // closing must not open a browser
    TForm1* form = new TForm1(nullptr);
    form->Show();
    Application().ProcessMessages();

    TCase cases[] = {
        {"walk tree, File Only", walkTree, true},
        {"walk tree, Folder Only", walkTree, false},
        {"match tree, File Only (100,000 rows)", matchTree, true},
    };
    for (int run = 0; run < runs; ++run)
        for (TCase& c : cases) {
            const TTimes raw = Measure([&] {
                c.Counts = {};
                RawWalk(c.Root, c.Counts);
            });
            TWindowRun window = SearchInWindow(*form, c.Root, c.FileOnly);
            c.Raw.push_back(raw.Wall);
            c.RawCpu.push_back(raw.Cpu);
            c.Window.push_back(window.Times.Wall);
            c.WindowCpu.push_back(window.Times.Cpu);
            c.WindowThreadCpu.push_back(window.Times.ThreadCpu);
            // Each window run against the raw walk just before it, which saw the same load on the machine.
            c.Ratio.push_back(window.Times.Wall / raw.Wall);
            c.CpuRatio.push_back(window.Times.Cpu / raw.Cpu);
            c.Rows = window.Rows;
            const double probe = window.ActivityCpu.count(TThreadProfile::kProbe) ? window.ActivityCpu[TThreadProfile::kProbe] : 0;
            c.ThreadCpuLessProbe.push_back(std::max(0.0, window.Times.ThreadCpu - probe));
            c.ThreadShare.push_back(window.Times.ThreadCpu / raw.Cpu);
            c.ThreadShareLessProbe.push_back(std::max(0.0, window.Times.ThreadCpu - probe) / raw.Cpu);
            for (const auto& [activity, seconds] : window.Activities) c.Activities[activity].push_back(seconds);
            for (const auto& [activity, seconds] : window.ActivityCpu) c.ActivityCpu[activity].push_back(seconds);
            c.TimedOut += window.TimedOut;
            c.Answer.insert(c.Answer.end(), window.Answer.begin(), window.Answer.end());
            c.Paint.insert(c.Paint.end(), window.Paint.begin(), window.Paint.end());
            std::printf("  run %d, %-40s raw %7.3f s (cpu %6.3f)  window %7.3f s (cpu %6.3f, window's thread %6.3f)  rows %d\n",
                        run + 1, c.Name, raw.Wall, raw.Cpu, window.Times.Wall, window.Times.Cpu, window.Times.ThreadCpu, c.Rows);
            std::fflush(stdout);
        }
    TCustomForm::Free(form);

    std::printf("\nthe window's search against a raw walk (medians of %d runs; ratios are medians of each run's)\n", runs);
    for (const TCase& c : cases) {
        std::printf("  %s: %ld folders, %d rows\n", c.Name, c.Counts.Folders, c.Rows);
        std::printf("    clock: raw %7.3f s  window %7.3f s  %5.2f x raw   processor: raw %6.3f s  window %6.3f s  %5.2f x raw"
                    " (window's thread %.3f s)\n",
                    Median(c.Raw), Median(c.Window), Median(c.Ratio), Median(c.RawCpu), Median(c.WindowCpu),
                    Median(c.CpuRatio), Median(c.WindowThreadCpu));
        std::printf("    window's thread: processor %.3f s = %.3f x the raw walk's processor time; less the probe's requests "
                    "(their processor time) %.3f s = %.3f x\n",
                    Median(c.WindowThreadCpu), Median(c.ThreadShare), Median(c.ThreadCpuLessProbe),
                    Median(c.ThreadShareLessProbe));
        std::printf("    window's thread by activity (medians of seconds inside its messages: clock, processor):\n");
        std::vector<std::pair<double, std::string>> activities;
        auto median = [runs](std::vector<double> seconds) {
            seconds.resize(static_cast<std::size_t>(runs), 0.0);   // a run without that activity had none of it
            return Median(seconds);
        };
        for (const auto& [activity, seconds] : c.Activities) activities.emplace_back(median(seconds), activity);
        std::sort(activities.rbegin(), activities.rend());
        for (const auto& [seconds, activity] : activities)
            std::printf("      %-52s %7.3f s  %7.3f s\n", activity.c_str(), seconds, median(c.ActivityCpu.count(activity) ? c.ActivityCpu.at(activity) : std::vector<double>{}));
        std::printf("    answer: median %.1f ms, p99 %.1f ms, max %.1f ms (%zu probes); "
                    "repaint: median %.1f ms, p99 %.1f ms, max %.1f ms; %d probe requests timed out (%u ms)\n",
                    Median(c.Answer), Percentile(c.Answer, 0.99), Percentile(c.Answer, 1.0), c.Answer.size(),
                    Median(c.Paint), Percentile(c.Paint, 0.99), Percentile(c.Paint, 1.0), c.TimedOut,
                    TResponsiveness::kTimeoutMs);
    }
    std::printf("goals: walk tree within 1.15 x raw, the window's thread within 0.15 x the raw walk's processor time;\n"
                "       the match tree's 100,000 rows within 1.25 x raw; the window answers within 100 ms at p99\n");
    return 0;
}
