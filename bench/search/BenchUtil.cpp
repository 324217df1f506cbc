#include "BenchUtil.h"

#include <algorithm>

#include "base/WinHandle.h"

double TimeSeconds(const std::function<void()>& work) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    work();
    QueryPerformanceCounter(&end);
    return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::wstring BesideExe(const std::wstring& name) {
    wchar_t exe[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring path(exe, length);
    return path.substr(0, path.find_last_of(L'\\') + 1) + name + L"\\";
}

void CreateFolders(const std::wstring& path) {
    for (size_t at = 3; (at = path.find(L'\\', at)) != std::wstring::npos; ++at)
        CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
}

namespace {
// Beside the folder, not in it, so that the data set holds only what was generated.
std::wstring MarkerOf(const std::wstring& folder) { return folder.substr(0, folder.size() - 1) + L".complete"; }
}  // namespace

bool IsComplete(const std::wstring& folder) {
    return GetFileAttributesW(MarkerOf(folder).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void MarkComplete(const std::wstring& folder) {
    UniqueFileHandle marker(CreateFileW(MarkerOf(folder).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
}
