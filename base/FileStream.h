#pragma once
// A stream over a file. Paths are UTF-16; on Windows files are opened with the wide API (long paths
// in \\?\ form work), elsewhere the path is converted to UTF-8.
#include "base/Stream.h"

#include <string>

class TFileStream : public TStream {
public:
    enum TMode {
        fmOpenRead,       // existing file, read only, others may read and write
        fmOpenReadWrite,  // existing file, read and write
        fmCreate,         // new or truncated file, read and write
    };

    TFileStream(const std::wstring& fileName, TMode mode);  // EFOpenError when it cannot be opened
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void* buffer, size_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    void SetSize(int64_t newSize) override;

    const std::wstring& FileName() const { return FFileName; }

private:
    std::wstring FFileName;
    void* FHandle = nullptr;  // HANDLE on Windows, FILE* elsewhere
};
