#include "TempTree.h"

#include <gtest/gtest.h>
#include <winioctl.h>

#include <atomic>
#include <vector>

#include "base/WinHandle.h"
#include "search/Paths.h"

namespace {

// A junction (mount point) made the way Windows makes one, through its reparse data.
bool MakeJunction(const std::wstring& link, const std::wstring& target) {
    if (!CreateDirectoryW(ExtendedPath(link).c_str(), nullptr)) return false;
    UniqueFileHandle dir(CreateFileW(ExtendedPath(link).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!dir) return false;
    const std::wstring substitute = L"\\??\\" + target;
    const auto substituteBytes = static_cast<USHORT>(substitute.size() * sizeof(wchar_t));
    const auto printBytes = static_cast<USHORT>(target.size() * sizeof(wchar_t));
    // Header (8) + four offsets (8) + both names with their terminators.
    std::vector<BYTE> buffer(16 + substituteBytes + printBytes + 4);
    auto put16 = [&](size_t at, USHORT value) { memcpy(&buffer[at], &value, 2); };
    const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
    memcpy(&buffer[0], &tag, 4);
    put16(4, static_cast<USHORT>(buffer.size() - 8));
    put16(8, 0);
    put16(10, substituteBytes);
    put16(12, static_cast<USHORT>(substituteBytes + 2));
    put16(14, printBytes);
    memcpy(&buffer[16], substitute.data(), substituteBytes);
    memcpy(&buffer[16 + substituteBytes + 2], target.data(), printBytes);
    DWORD returned = 0;
    return DeviceIoControl(dir.get(), FSCTL_SET_REPARSE_POINT, buffer.data(), static_cast<DWORD>(buffer.size()),
                           nullptr, 0, &returned, nullptr);
}

// Under Wine a symbolic link made on the Linux side of the drive shows as a directory reparse point.
// Wine runs the program as a Linux process, so symlink(2) and unlink(2) are called directly.
using UnixNameFn = char*(CDECL*)(const wchar_t*);

UnixNameFn WineUnixName() {
    return reinterpret_cast<UnixNameFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
}

long LinuxCall(long number, const char* first, const char* second) {
    long result = -1;
    asm volatile("syscall" : "=a"(result) : "0"(number), "D"(first), "S"(second) : "rcx", "r11", "memory");
    return result;
}

// symlink(target, link) when both are given, else unlink(link).
bool UnixLinkCall(const std::wstring& link, const std::wstring* target) {
    const UnixNameFn unixName = WineUnixName();
    if (!unixName) return false;
    char* linkPath = unixName(link.c_str());
    char* targetPath = target ? unixName(target->c_str()) : nullptr;
    long result = -1;
    if (linkPath && target && targetPath) result = LinuxCall(88, targetPath, linkPath);
    if (linkPath && !target) result = LinuxCall(87, linkPath, nullptr);
    HeapFree(GetProcessHeap(), 0, linkPath);
    HeapFree(GetProcessHeap(), 0, targetPath);
    return result == 0;
}

// Under Wine every call on a path costs time in proportion to the square of its depth (the server
// resolves it one component at a time), so the fixture keeps its own calls near the root: deep folders
// are moved up before they are emptied, and deep chains are built in blocks moved down in one call.
constexpr size_t kShallowDepth = 64;

// Empties and removes root. Iterative, with one listing per folder and only the names of subfolders
// still to empty kept per level, so that a tree thousands of levels deep cannot overflow the stack.
void RemoveTree(const std::wstring& root) {
    constexpr DWORD kBlocking = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    struct TOpenFolder {
        size_t PathLength;
        std::vector<std::wstring> Subfolders;
    };
    std::vector<TOpenFolder> open;
    // Deletes the files and links of the folder at path and opens it.
    auto empty = [&](const std::wstring& path) {
        TOpenFolder& folder = open.emplace_back(TOpenFolder{path.size(), {}});
        WIN32_FIND_DATAW data;
        UniqueFindHandle find(FindFirstFileW(ExtendedPath(path + L"*").c_str(), &data));
        if (!find) return;
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring entry = ExtendedPath(path + name);
            if (data.dwFileAttributes & kBlocking) SetFileAttributesW(entry.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                // The link itself goes, never what it points at.
                if (!RemoveDirectoryW(entry.c_str()) && !DeleteFileW(entry.c_str())) UnixLinkCall(path + name, nullptr);
            } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                folder.Subfolders.push_back(name);
            } else {
                DeleteFileW(entry.c_str());
            }
        } while (FindNextFileW(find.get(), &data));
    };

    SetFileAttributesW(ExtendedPath(root).c_str(), FILE_ATTRIBUTE_NORMAL);
    std::wstring path = root;
    size_t moved = 0;
    empty(path);
    for (;;) {
        while (!open.empty() && open.back().Subfolders.empty()) {
            path.resize(open.back().PathLength);
            RemoveDirectoryW(ExtendedPath(path).c_str());
            open.pop_back();
        }
        if (open.empty()) return;
        path.resize(open.back().PathLength);
        const std::wstring name = std::move(open.back().Subfolders.back());
        open.back().Subfolders.pop_back();
        if (open.size() >= kShallowDepth) {
            const std::wstring up = L"~" + std::to_wstring(++moved);
            if (MoveFileW(ExtendedPath(path + name).c_str(), ExtendedPath(root + up).c_str())) {
                open.front().Subfolders.push_back(up);
                continue;
            }
        }
        path += name + L'\\';
        empty(path);
    }
}

}  // namespace

TTempTree::TTempTree(const std::wstring& parent) {
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    // The tick count as well: Wine reuses process ids, and a tree a crashed run left behind must not
    // stand in the way.
    FRoot = (parent.empty() ? std::wstring(temp) : parent) + L"clarivo-" + std::to_wstring(GetCurrentProcessId()) +
            L"-" + std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(++counter) + L"\\";
    RemoveTree(FRoot);
    EXPECT_TRUE(CreateDirectoryW(FRoot.c_str(), nullptr)) << "cannot create the test folder";
}

TTempTree::~TTempTree() { RemoveTree(FRoot); }

std::wstring TTempTree::Folder(std::wstring_view relative, DWORD attributes) {
    std::wstring path = Path(relative);
    if (!path.ends_with(L'\\')) path += L'\\';
    for (size_t at = FRoot.size(); (at = path.find(L'\\', at)) != std::wstring::npos; ++at)
        CreateDirectoryW(ExtendedPath(path.substr(0, at)).c_str(), nullptr);
    path.pop_back();
    if (attributes) SetAttributes(path, attributes);
    return path;
}

std::wstring TTempTree::File(std::wstring_view relative, std::string_view content, DWORD attributes) {
    const std::wstring path = Path(relative);
    const size_t slash = relative.rfind(L'\\');
    if (slash != std::wstring_view::npos) Folder(relative.substr(0, slash));
    UniqueFileHandle file(CreateFileW(ExtendedPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_TRUE(file) << "cannot create a test file";
    DWORD written = 0;
    if (!content.empty()) WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    file.reset();
    if (attributes) SetAttributes(path, attributes);
    return path;
}

std::wstring TTempTree::SizedFile(std::wstring_view relative, uint64_t size, DWORD attributes) {
    const std::wstring path = File(relative);
    {
        UniqueFileHandle file(CreateFileW(ExtendedPath(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        LARGE_INTEGER end;
        end.QuadPart = static_cast<LONGLONG>(size);
        EXPECT_TRUE(file && SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.get()))
            << "cannot size a test file";
    }
    if (attributes) SetAttributes(path, attributes);
    return path;
}

std::wstring TTempTree::Chain(size_t levels) {
    std::wstring deepest = FRoot;
    const std::wstring block = FRoot + L"~block\\";
    std::wstring blockLevels;
    for (size_t i = 0; i < kShallowDepth; ++i) blockLevels += L"d\\";
    size_t made = 0;
    while (levels - made > kShallowDepth) {
        Folder(L"~block\\" + blockLevels.substr(2));
        const std::wstring top = deepest + L'd';
        if (!MoveFileW(ExtendedPath(block).c_str(), ExtendedPath(top).c_str())) break;
        if (GetFileAttributesW(ExtendedPath(deepest + blockLevels).c_str()) == INVALID_FILE_ATTRIBUTES) {
            // The move took the block beyond the platform's path limit: back with it.
            MoveFileW(ExtendedPath(top).c_str(), ExtendedPath(block).c_str());
            break;
        }
        deepest += blockLevels;
        made += kShallowDepth;
    }
    RemoveTree(block);
    while (made < levels && CreateDirectoryW(ExtendedPath(deepest + L'd').c_str(), nullptr)) {
        deepest += L"d\\";
        ++made;
    }
    return deepest;
}

DWORD TTempTree::Attributes(std::wstring_view relative) const {
    return GetFileAttributesW(ExtendedPath(Path(relative)).c_str());
}

bool TTempTree::Link(std::wstring_view relative, const std::wstring& target) {
    const std::wstring link = Path(relative);
    return MakeJunction(link, target) || (RemoveDirectoryW(ExtendedPath(link).c_str()), UnixLinkCall(link, &target));
}

bool TTempTree::Unlink(std::wstring_view relative) {
    const std::wstring link = Path(relative);
    SetFileAttributesW(ExtendedPath(link).c_str(), FILE_ATTRIBUTE_NORMAL);
    return RemoveDirectoryW(ExtendedPath(link).c_str()) || UnixLinkCall(link, nullptr);
}

void SetAttributes(const std::wstring& path, DWORD attributes) {
    EXPECT_TRUE(SetFileAttributesW(ExtendedPath(path).c_str(), attributes)) << "cannot set attributes";
}
