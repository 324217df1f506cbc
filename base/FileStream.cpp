#include "base/FileStream.h"

#include "base/Exception.h"
#include "base/StrUtils.h"

#include <algorithm>
#include <climits>

#ifdef _WIN32
#include <windows.h>

TFileStream::TFileStream(const std::wstring& fileName, TMode mode) : FFileName(fileName) {
    DWORD access = mode == fmOpenRead ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    DWORD share = FILE_SHARE_READ | (mode == fmOpenRead ? FILE_SHARE_WRITE : 0);
    DWORD disposition = mode == fmCreate ? CREATE_ALWAYS : OPEN_EXISTING;
    HANDLE h = CreateFileW(fileName.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw EFOpenError("Cannot open file \"" + WideToUtf8(fileName) + "\"");
    FHandle = h;
}

TFileStream::~TFileStream() { CloseHandle(FHandle); }

size_t TFileStream::Read(void* buffer, size_t count) {
    size_t total = 0;
    auto* p = static_cast<unsigned char*>(buffer);
    while (total < count) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - total, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(FHandle, p + total, chunk, &got, nullptr) || got == 0) break;
        total += got;
    }
    return total;
}

size_t TFileStream::Write(const void* buffer, size_t count) {
    size_t total = 0;
    auto* p = static_cast<const unsigned char*>(buffer);
    while (total < count) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - total, 1u << 30));
        DWORD put = 0;
        if (!WriteFile(FHandle, p + total, chunk, &put, nullptr) || put == 0) break;
        total += put;
    }
    return total;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
    DWORD method = origin == TSeekOrigin::soBeginning ? FILE_BEGIN
                 : origin == TSeekOrigin::soCurrent   ? FILE_CURRENT
                                                      : FILE_END;
    LARGE_INTEGER to, result;
    to.QuadPart = offset;
    if (!SetFilePointerEx(FHandle, to, &result, method)) return Position();
    return result.QuadPart;
}

void TFileStream::SetSize(int64_t newSize) {
    int64_t pos = Position();
    SetPosition(newSize);
    if (!SetEndOfFile(FHandle)) throw EWriteError("Cannot set the size of \"" + WideToUtf8(FFileName) + "\"");
    SetPosition(std::min(pos, newSize));
}

#else
#include <cstdio>
#include <unistd.h>

TFileStream::TFileStream(const std::wstring& fileName, TMode mode) : FFileName(fileName) {
    const char* how = mode == fmOpenRead ? "rb" : mode == fmOpenReadWrite ? "r+b" : "w+b";
    FILE* f = std::fopen(WideToUtf8(fileName).c_str(), how);
    if (!f) throw EFOpenError("Cannot open file \"" + WideToUtf8(fileName) + "\"");
    FHandle = f;
}

TFileStream::~TFileStream() { std::fclose(static_cast<FILE*>(FHandle)); }

size_t TFileStream::Read(void* buffer, size_t count) {
    return std::fread(buffer, 1, count, static_cast<FILE*>(FHandle));
}

size_t TFileStream::Write(const void* buffer, size_t count) {
    return std::fwrite(buffer, 1, count, static_cast<FILE*>(FHandle));
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
    auto* f = static_cast<FILE*>(FHandle);
    int whence = origin == TSeekOrigin::soBeginning ? SEEK_SET : origin == TSeekOrigin::soCurrent ? SEEK_CUR : SEEK_END;
    fseeko(f, static_cast<off_t>(offset), whence);
    return static_cast<int64_t>(ftello(f));
}

void TFileStream::SetSize(int64_t newSize) {
    auto* f = static_cast<FILE*>(FHandle);
    std::fflush(f);
    if (ftruncate(fileno(f), static_cast<off_t>(newSize)) != 0)
        throw EWriteError("Cannot set the size of \"" + WideToUtf8(FFileName) + "\"");
}
#endif
