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

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileW(ExtendedPath(folder + L"*").c_str(), &data));
    if (find) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = ExtendedPath(folder + name);
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                // The link itself goes, never what it points at.
                if (!RemoveDirectoryW(path.c_str()) && !DeleteFileW(path.c_str())) UnixLinkCall(folder + name, nullptr);
            } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(folder + name + L'\\');
            } else {
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(find.get(), &data));
    }
    find.reset();
    SetFileAttributesW(ExtendedPath(folder).c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(ExtendedPath(folder).c_str());
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
