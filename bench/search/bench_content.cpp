// Content benchmark: the phrase scan over 200 MiB of text files (a phrase that is not there, so every
// byte is looked at) against plain reading of the same files with the same buffer size. Prints the
// median throughput of each and the scan's share of plain reading's: the scan as the search runs it,
// and each way of reaching the bytes forced (read into the scan's buffer, read ahead on a pool thread,
// or mapped). Then, for files of 4 KiB to 16 MiB, the time per file of each way: where reading ahead
// and mapping start to pay.
//
// Usage: bench_content [runs]   (default 5; the files are generated once beside the exe and reused)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "BenchUtil.h"
#include "base/WinHandle.h"
#include "search/ContentCriteria.h"

namespace {

constexpr int kFiles = 50;
constexpr size_t kFileSize = 4 << 20;

// Files of each size for the break-even table: enough to take a measurable time, never more than 2,000.
constexpr size_t kSizes[] = {4 << 10, 16 << 10, 64 << 10, 256 << 10, 1 << 20, 4 << 20, 16 << 20};
int FileCount(size_t size) { return static_cast<int>(std::clamp<size_t>((size_t{64} << 20) / size, 8, 2000)); }

std::wstring FileName(const std::wstring& folder, int index) { return folder + L"text" + std::to_wstring(index) + L".txt"; }

void GenerateFiles(const std::wstring& folder, int count, size_t size) {
    CreateFolders(folder);
    const char* words[] = {"the", "Search", "folder", "hidden", "system", "attribute", "file", "Window", "list",
                           "Clarivo", "walk", "thread", "needles", "content", "phrase", "buffer", "of", "and"};
    uint32_t seed = 12345;
    for (int i = 0; i < count; ++i) {
        std::string text;
        text.reserve(size);
        while (text.size() < size) {
            seed = seed * 1664525 + 1013904223;
            text += words[(seed >> 16) % (sizeof words / sizeof *words)];
            text += (seed >> 8) % 11 == 0 ? ".\r\n" : " ";
        }
        text.resize(size);
        UniqueFileHandle file(CreateFileW(FileName(folder, i).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
    MarkComplete(folder);
}

uint64_t ReadPlain(const std::wstring& name) {
    UniqueFileHandle file(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    std::vector<uint8_t> buffer(kScanBufferSize);
    uint64_t total = 0;
    DWORD got = 0;
    while (ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got > 0) total += got;
    return total;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const std::wstring folder = BesideExe(L"content-data");
    if (!IsComplete(folder)) {
        std::printf("generating the files (once)...\n");
        GenerateFiles(folder, kFiles, kFileSize);
    }
    const double megabytes = double(kFiles) * double(kFileSize) / (1 << 20);

    auto scanner = [](const wchar_t* phrase, bool ignoreCase, bool wholeWord) {
        TContentCriteria criteria;
        criteria.SetPhrase(phrase);
        criteria.SetIgnoreCase(ignoreCase);
        criteria.WholeWord = wholeWord;
        return criteria;
    };
    // The scan through one way of reaching the bytes (Matches itself for Automatic).
    auto scanning = [](TContentCriteria c, TFileAccess access) -> std::function<bool(const std::wstring&)> {
        if (access == TFileAccess::Automatic) return [c](const std::wstring& f) { return c.Matches(f); };
        return [c, access](const std::wstring& f) {
            return FileContainsPhrase(f, {c.SearchPhrase(), c.CharTable(), &c.Delimiters(), c.WholeWord}, access);
        };
    };
    const TContentCriteria ignoring = scanner(L"clarivo zebra", true, false), exact = scanner(L"Clarivo zebra", false, false);
    struct TMeasure {
        const char* Name;
        std::function<bool(const std::wstring&)> Run;
        std::vector<double> Seconds;
        int Hits = 0;
    } measures[] = {
        {"plain reading", [](const std::wstring& f) { return ReadPlain(f) == 0; }, {}, 0},
        {"scan, ignoring case", scanning(ignoring, TFileAccess::Automatic), {}, 0},
        {"scan, exact case", scanning(exact, TFileAccess::Automatic), {}, 0},
        {"scan, whole word, ignoring case", scanning(scanner(L"needle", true, true), TFileAccess::Automatic), {}, 0},
        {"  read, ignoring case", scanning(ignoring, TFileAccess::Reading), {}, 0},
        {"  read, exact case", scanning(exact, TFileAccess::Reading), {}, 0},
        {"  read ahead, ignoring case", scanning(ignoring, TFileAccess::ReadingAhead), {}, 0},
        {"  read ahead, exact case", scanning(exact, TFileAccess::ReadingAhead), {}, 0},
        {"  mapped, ignoring case", scanning(ignoring, TFileAccess::Mapping), {}, 0},
        {"  mapped, exact case", scanning(exact, TFileAccess::Mapping), {}, 0},
    };
    // The scan's own cost apart from reading: one file's bytes scanned from memory, as often as there are files.
    std::string text(kFileSize, '\0');
    {
        UniqueFileHandle file(CreateFileW(FileName(folder, 0).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, 0, nullptr));
        DWORD got = 0;
        ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &got, nullptr);
    }
    std::vector<double> memorySeconds;
    for (int run = 0; run < runs; ++run)
        memorySeconds.push_back(TimeSeconds([&] {
            for (int i = 0; i < kFiles; ++i) {
                size_t at = 0;
                ContainsPhrase({ignoring.SearchPhrase(), ignoring.CharTable(), &ignoring.Delimiters(), false}, text.size(),
                               [&](uint8_t* buffer, size_t count) {
                                   const size_t n = std::min(count, text.size() - at);
                                   memcpy(buffer, text.data() + at, n);
                                   at += n;
                                   return n;
                               });
            }
        }));

    for (int run = 0; run < runs; ++run)
        for (auto& m : measures)
            m.Seconds.push_back(TimeSeconds([&] {
                m.Hits = 0;
                for (int i = 0; i < kFiles; ++i) m.Hits += m.Run(FileName(folder, i));
            }));

    const double plain = Median(measures[0].Seconds);
    std::printf("\ncontent of %d files, %.0f MiB (%d runs, medians)\n", kFiles, megabytes, runs);
    for (auto& m : measures)
        std::printf("  %-34s %7.3f s  %8.1f MiB/s  %4.2f of plain reading  (files matched: %d)\n", m.Name,
                    Median(m.Seconds), megabytes / Median(m.Seconds), plain / Median(m.Seconds), m.Hits);
    std::printf("  %-34s %7.3f s  %8.1f MiB/s  (the same bytes from memory: the scan's own cost)\n",
                "scan from memory, ignoring case", Median(memorySeconds), megabytes / Median(memorySeconds));

    // Where mapping starts to pay: microseconds per file of each size, each way, files cached.
    std::printf("\nper file, ignoring case, cached (%d runs, medians; ", runs);
    if (kScanMappingThreshold == UINT64_MAX)
        std::printf("the search maps no file, ");
    else
        std::printf("the search maps from %llu bytes on a fixed disk, ",
                    static_cast<unsigned long long>(kScanMappingThreshold));
    if (kReadAheadThreshold == UINT64_MAX)
        std::printf("reads none ahead)\n");
    else
        std::printf("reads ahead from %llu bytes)\n", static_cast<unsigned long long>(kReadAheadThreshold));
    std::printf("  %10s %6s %14s %14s %14s %14s %8s\n", "size", "files", "plain read us", "read scan us",
                "read ahead us", "mapped us", "mapped/read");
    for (const size_t size : kSizes) {
        const std::wstring sized = BesideExe(L"content-size-" + std::to_wstring(size));
        const int count = FileCount(size);
        if (!IsComplete(sized)) GenerateFiles(sized, count, size);
        std::function<bool(const std::wstring&)> ways[] = {[](const std::wstring& f) { return ReadPlain(f) == 0; },
                                                           scanning(ignoring, TFileAccess::Reading),
                                                           scanning(ignoring, TFileAccess::ReadingAhead),
                                                           scanning(ignoring, TFileAccess::Mapping)};
        constexpr int kWays = sizeof ways / sizeof *ways;
        std::vector<double> seconds[kWays];
        for (int run = 0; run < runs; ++run)
            for (int way = 0; way < kWays; ++way)
                seconds[way].push_back(TimeSeconds([&] {
                    for (int i = 0; i < count; ++i) ways[way](FileName(sized, i));
                }));
        double perFile[kWays];
        for (int way = 0; way < kWays; ++way) perFile[way] = Median(seconds[way]) / count * 1e6;
        std::printf("  %10zu %6d %14.1f %14.1f %14.1f %14.1f %8.2f\n", size, count, perFile[0], perFile[1], perFile[2],
                    perFile[3], perFile[3] / perFile[1]);
    }
    return 0;
}
