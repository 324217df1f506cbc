#include "WalkTree.h"

#include <cstdio>

#include "BenchUtil.h"
#include "base/WinHandle.h"
#include "search/FindFile.h"

namespace {
constexpr DWORD kHiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
}  // namespace

void GenerateTree(const std::wstring& root, const TTreeShape& shape) {
    std::printf("generating the tree (once)...\n");
    CreateFolders(root);
    long folders = 0, files = 0;
    auto makeFolder = [&](const std::wstring& path) {
        CreateDirectoryW(path.c_str(), nullptr);
        if (++folders % 100 == 0) SetFileAttributesW(path.c_str(), kHiddenSystem);
    };
    for (int t = 0; t < shape.Top; ++t) {
        const std::wstring top = root + L"top" + std::to_wstring(t) + L"\\";
        makeFolder(top);
        for (int m = 0; m < shape.Middle; ++m) {
            const std::wstring middle = top + L"middle" + std::to_wstring(m) + L"\\";
            makeFolder(middle);
            for (int l = 0; l < shape.Leaves; ++l) {
                const std::wstring leaf = middle + L"leaf" + std::to_wstring(l) + L"\\";
                makeFolder(leaf);
                for (int f = 0; f < shape.FilesPerLeaf; ++f) {
                    const DWORD attributes = ++files % shape.HiddenFileEvery == 0 ? FILE_ATTRIBUTE_ARCHIVE | kHiddenSystem
                                                                                   : FILE_ATTRIBUTE_ARCHIVE;
                    UniqueFileHandle file(CreateFileW((leaf + L"file" + std::to_wstring(f) + L".dat").c_str(), GENERIC_WRITE,
                                                      0, nullptr, CREATE_ALWAYS, attributes, nullptr));
                }
            }
        }
        std::printf("  %d of %d\n", t + 1, shape.Top);
    }
    MarkComplete(root);
}

void RawWalk(const std::wstring& folder, TWalkCounts& counts) {
    ++counts.Folders;
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileExW((folder + L"*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                           nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return;
    do {
        const wchar_t* name = data.cFileName;
        if (name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0))) continue;
        if ((data.dwFileAttributes & kSearchAttributeMask) == (FILE_ATTRIBUTE_ARCHIVE | kHiddenSystem)) ++counts.Matches;
        if ((data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == FILE_ATTRIBUTE_DIRECTORY)
            RawWalk(folder + name + L"\\", counts);
    } while (FindNextFileW(find.get(), &data));
}
