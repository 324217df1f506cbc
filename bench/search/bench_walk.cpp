// Walk benchmark: a generated tree of 20,420 folders and 200,000 files, about 1% of them hidden and
// system, searched in the window's "File Only" mode by TFindFile unthreaded, TFindFile threaded with
// every event handed to the main thread and waited for, a raw recursive FindFirstFileExW walk, and
// cmd's dir /s /b /a (once: it is slow). Then both TFindFile runs again with every file matching (220,000 hand-overs), which
// gives the cost of one hand-over. Prints the median of each and its ratio to the raw walk.
//
// Usage: bench_walk [runs] [nodir]   (default 3; the tree is generated once beside the exe and reused;
// nodir leaves dir /s out, which takes minutes)
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "BenchUtil.h"
#include "WalkTree.h"
#include "base/Thread.h"
#include "base/WinHandle.h"
#include "search/FindFile.h"

namespace {

// Processor seconds used so far by this process: less swayed than the clock by other work on a busy machine.
double ProcessCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](FILETIME t) { return static_cast<double>(uint64_t{t.dwHighDateTime} << 32 | t.dwLowDateTime) / 1e7; };
    return seconds(kernel) + seconds(user);
}

// threaded: every folder-change and file-match event is handed to the main thread, as the window does,
// while the main thread services its message queue.
TWalkCounts SearchWithFindFile(const std::wstring& root, bool fileMode, bool threaded) {
    TWalkCounts counts;
    TFindFile findFile;
    findFile.Threaded = threaded;
    findFile.Criteria.Files.FileName = L"*";
    findFile.Criteria.Files.Location = root;
    if (fileMode) {
        findFile.Criteria.Attribute.SetAttributes({ffArchive, ffHidden, ffSystem});
        findFile.Criteria.Attribute.ExactMatch = true;
    }
    if (threaded) {
        findFile.OnFolderChange = [&](TFindFile*, const std::wstring&, TFolderIgnore&) {
            TThread::Synchronize([&] { ++counts.Folders; });
        };
        findFile.OnFileMatch = [&](TFindFile*, const std::wstring&, const TSearchRec&) {
            TThread::Synchronize([&] { ++counts.Matches; });
        };
    } else {
        findFile.OnFolderChange = [&](TFindFile*, const std::wstring&, TFolderIgnore&) { ++counts.Folders; };
        findFile.OnFileMatch = [&](TFindFile*, const std::wstring&, const TSearchRec&) { ++counts.Matches; };
    }
    findFile.Execute();
    MSG message;
    while (findFile.Busy()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT);
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    return counts;
}

void RunDir(const std::wstring& root) {
    std::wstring command = L"cmd.exe /c dir /s /b /a \"" + root.substr(0, root.size() - 1) + L"\" > NUL";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                        &process))
        return;
    const UniqueKernelHandle processHandle(process.hProcess), threadHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const bool dir = !(argc > 2 && std::string(argv[2]) == "nodir");
    const std::wstring root = BesideExe(L"walk-tree");
    if (!IsComplete(root)) GenerateTree(root);

    struct TMeasure {
        const char* Name;
        std::function<TWalkCounts()> Run;
        bool Once;   // slow enough that one run tells enough
        std::vector<double> Seconds, Cpu;
        TWalkCounts Counts;
    } measures[] = {
        {"raw FindFirstFileExW walk", [&] { TWalkCounts c; RawWalk(root, c); return c; }, false, {}, {}, {}},
        {"TFindFile unthreaded", [&] { return SearchWithFindFile(root, true, false); }, false, {}, {}, {}},
        {"TFindFile threaded, every event handed over", [&] { return SearchWithFindFile(root, true, true); }, false, {}, {}, {}},
        {"cmd /c dir /s /b /a", [&] { RunDir(root); return TWalkCounts{}; }, true, {}, {}, {}},
        {"TFindFile unthreaded, all files match", [&] { return SearchWithFindFile(root, false, false); }, false, {}, {}, {}},
        {"TFindFile threaded, all files match, handed over", [&] { return SearchWithFindFile(root, false, true); }, false, {}, {}, {}},
    };
    for (int run = 0; run < runs; ++run)
        for (auto& m : measures)
            if ((run == 0 || !m.Once) && (dir || &m != &measures[3])) {
                const double cpu = ProcessCpuSeconds();
                m.Seconds.push_back(TimeSeconds([&] { m.Counts = m.Run(); }));
                m.Cpu.push_back(ProcessCpuSeconds() - cpu);
            }

    const double raw = Median(measures[0].Seconds), rawCpu = Median(measures[0].Cpu);
    std::printf("\nwalk of walk-tree (medians of %d runs; dir /s once)\n", runs);
    for (auto& m : measures)
        if (!m.Seconds.empty())
            std::printf("  %-50s %8.3f s  %5.2f x raw   processor %6.3f s  %5.2f x raw   folders %ld, matches %ld\n",
                        m.Name, Median(m.Seconds), Median(m.Seconds) / raw, Median(m.Cpu), Median(m.Cpu) / rawCpu,
                        m.Counts.Folders, m.Counts.Matches);
    // What an accepted entry costs beyond the raw walk, apart from the disk: the record the walk fills for
    // every entry, with its packed local time made as the walk makes it and as the system's own two
    // conversions make it, and the processor time of each way of walking.
    {
        constexpr int kEntries = 1000000;
        WIN32_FIND_DATAW data{};
        wcscpy(data.cFileName, L"file12345.dat");
        GetSystemTimeAsFileTime(&data.ftLastWriteTime);
        TSearchRec rec;
        uint32_t sum = 0;
        const double walk = TimeSeconds([&] {
            for (int i = 0; i < kEntries; ++i) {
                data.ftLastWriteTime.dwLowDateTime += 20'000'000;
                rec.Assign(data);
                sum += rec.Time;
            }
        });
        const double system = TimeSeconds([&] {
            for (int i = 0; i < kEntries; ++i) {
                data.ftLastWriteTime.dwLowDateTime += 20'000'000;
                FILETIME local;
                WORD date = 0, time = 0;
                if (FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) && FileTimeToDosDateTime(&local, &date, &time))
                    sum += uint32_t{date} << 16 | time;
            }
        });
        std::printf("  record per entry: %.3f us as the walk fills it; the system's local time and packing alone %.3f us (%u)\n",
                    walk / kEntries * 1e6, system / kEntries * 1e6, sum & 1);
    }
    const auto& all = measures[5].Counts;
    const double perEvent = (Median(measures[5].Seconds) - Median(measures[4].Seconds)) / double(all.Folders + all.Matches);
    std::printf("  hand-over cost: %.2f us per event (%ld events)\n", perEvent * 1e6, all.Folders + all.Matches);
    return 0;
}
