// Content benchmark: the phrase scan over 200 MiB of text files (a phrase that is not there, so every
// byte is looked at) against plain reading of the same files with the same buffer size. Prints the
// median throughput of each and the scan's share of plain reading's.
//
// Usage: bench_content [runs]   (default 5; the files are generated once beside the exe and reused)
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

std::wstring FileName(const std::wstring& folder, int index) { return folder + L"text" + std::to_wstring(index) + L".txt"; }

void GenerateFiles(const std::wstring& folder) {
    std::printf("generating the files (once)...\n");
    CreateFolders(folder);
    const char* words[] = {"the", "Search", "folder", "hidden", "system", "attribute", "file", "Window", "list",
                           "Clarivo", "walk", "thread", "needles", "content", "phrase", "buffer", "of", "and"};
    uint32_t seed = 12345;
    for (int i = 0; i < kFiles; ++i) {
        std::string text;
        text.reserve(kFileSize);
        while (text.size() < kFileSize) {
            seed = seed * 1664525 + 1013904223;
            text += words[(seed >> 16) % (sizeof words / sizeof *words)];
            text += (seed >> 8) % 11 == 0 ? ".\r\n" : " ";
        }
        text.resize(kFileSize);
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
    if (!IsComplete(folder)) GenerateFiles(folder);
    const double megabytes = double(kFiles) * double(kFileSize) / (1 << 20);

    auto scanner = [](const wchar_t* phrase, bool ignoreCase, bool wholeWord) {
        TContentCriteria criteria;
        criteria.SetPhrase(phrase);
        criteria.SetIgnoreCase(ignoreCase);
        criteria.WholeWord = wholeWord;
        return criteria;
    };
    struct TMeasure {
        const char* Name;
        std::function<bool(const std::wstring&)> Run;
        std::vector<double> Seconds;
        int Hits = 0;
    } measures[] = {
        {"plain reading", [](const std::wstring& f) { return ReadPlain(f) == 0; }, {}, 0},
        {"scan, ignoring case", [c = scanner(L"clarivo zebra", true, false)](const std::wstring& f) { return c.Matches(f); }, {}, 0},
        {"scan, exact case", [c = scanner(L"Clarivo zebra", false, false)](const std::wstring& f) { return c.Matches(f); }, {}, 0},
        {"scan, whole word, ignoring case", [c = scanner(L"needle", true, true)](const std::wstring& f) { return c.Matches(f); }, {}, 0},
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
    const TContentCriteria inMemory = scanner(L"clarivo zebra", true, false);
    for (int run = 0; run < runs; ++run)
        memorySeconds.push_back(TimeSeconds([&] {
            for (int i = 0; i < kFiles; ++i) {
                size_t at = 0;
                ContainsPhrase({inMemory.SearchPhrase(), inMemory.CharTable(), &inMemory.Delimiters(), false}, text.size(),
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
    return 0;
}
