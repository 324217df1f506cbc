#include "search/TargetFolderList.h"

#include <windows.h>
#include <winnetwk.h>

#include <algorithm>

#include "base/FileName.h"
#include "search/Masks.h"
#include "search/Paths.h"

namespace {

std::wstring UniversalName(const std::wstring& path) {
    DWORD size = 1024;
    std::vector<BYTE> buffer(size);
    DWORD result = WNetGetUniversalNameW(path.c_str(), UNIVERSAL_NAME_INFO_LEVEL, buffer.data(), &size);
    if (result == ERROR_MORE_DATA) {
        buffer.resize(size);
        result = WNetGetUniversalNameW(path.c_str(), UNIVERSAL_NAME_INFO_LEVEL, buffer.data(), &size);
    }
    if (result != NO_ERROR) return path;
    return reinterpret_cast<const UNIVERSAL_NAME_INFOW*>(buffer.data())->lpUniversalName;
}

}  // namespace

std::wstring ExpandFolderPath(const std::wstring& path) {
    std::wstring full = AbsolutePath(path);
    if (full.size() >= 2 && full[1] == L':') full = UniversalName(full);
    return full;
}

TTargetFolder& TTargetFolderList::AddFolder(const std::wstring& path) {
    const std::wstring folder = IncludeFolderDelimiter(ExpandFolderPath(path));
    for (TTargetFolder& existing : FFolders)
        if (SameFileName(existing.Path, folder)) return existing;
    TTargetFolder& added = FFolders.emplace_back();
    added.Path = folder;
    return added;
}

bool TTargetFolderList::IsExcluded(const std::wstring& folder, const std::wstring& name) const {
    return std::any_of(ExcludedFiles.rbegin(), ExcludedFiles.rend(),
                       [&](const std::wstring& pattern) { return ExclusionMatch(folder, name, pattern); });
}
