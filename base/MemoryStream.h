#pragma once
// A stream over a growable block of memory.
#include "base/Stream.h"

#include <string>
#include <vector>

class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<unsigned char> data) : FData(std::move(data)) {}

    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void* buffer, size_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override { return static_cast<int64_t>(FData.size()); }
    void SetSize(int64_t newSize) override;

    const unsigned char* Memory() const { return FData.data(); }
    unsigned char* Memory() { return FData.data(); }
    const std::vector<unsigned char>& Bytes() const { return FData; }
    std::vector<unsigned char> TakeBytes();
    void Clear();

    // Replaces the contents with all of source (from its start).
    void LoadFromStream(TStream& source);
    void LoadFromFile(const std::wstring& fileName);
    void SaveToFile(const std::wstring& fileName) const;

private:
    std::vector<unsigned char> FData;
    size_t FPosition = 0;
};
