#include "FileFixture.h"

#include "base/WinHandle.h"
#include "search/Paths.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileW(ExtendedPath(folder + L"*").c_str(), &data));
    if (find) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring path = ExtendedPath(folder + name);
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                RemoveTree(folder + name + L"\\");
            else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveDirectoryW(path.c_str());
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(find.get(), &data));
    }
    find.reset();
    SetFileAttributesW(ExtendedPath(folder).c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(ExtendedPath(folder).c_str());
}

}  // namespace

TFileFixture::TFileFixture(const std::wstring& parent) {
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    FRoot = (parent.empty() ? std::wstring(temp) : parent) + L"clarivo-app-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(counter++) + L"\\";
    RemoveTree(FRoot);
    EXPECT_TRUE(CreateDirectoryW(FRoot.c_str(), nullptr));
}

TFileFixture::~TFileFixture() { RemoveTree(FRoot); }

void TFileFixture::Folder(const std::wstring& relative, DWORD attr) {
    std::wstring path = ExtendedPath(Path(relative));
    ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr)) << "cannot make folder";
    if (attr) {
        ASSERT_TRUE(SetFileAttributesW(path.c_str(), attr));
    }
}

void TFileFixture::File(const std::wstring& relative, DWORD attr, uint64_t size) {
    std::wstring path = ExtendedPath(Path(relative));
    {
        UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file) << "cannot make file";
        LARGE_INTEGER end;
        end.QuadPart = static_cast<LONGLONG>(size);
        ASSERT_TRUE(SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN));
        ASSERT_TRUE(SetEndOfFile(file.get()));
    }
    if (attr) {
        ASSERT_TRUE(SetFileAttributesW(path.c_str(), attr));
    }
}

DWORD TFileFixture::Attributes(const std::wstring& relative) const {
    return GetFileAttributesW(ExtendedPath(Path(relative)).c_str());
}

bool TFileFixture::Exists(const std::wstring& relative) const { return Attributes(relative) != INVALID_FILE_ATTRIBUTES; }
