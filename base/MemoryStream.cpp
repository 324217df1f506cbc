#include "base/MemoryStream.h"

#include "base/FileStream.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

size_t TMemoryStream::Read(void* buffer, size_t count) {
    if (FPosition >= FData.size()) return 0;
    size_t n = std::min(count, FData.size() - FPosition);
    std::memcpy(buffer, FData.data() + FPosition, n);
    FPosition += n;
    return n;
}

size_t TMemoryStream::Write(const void* buffer, size_t count) {
    if (count == 0) return 0;
    if (FPosition + count > FData.size()) FData.resize(FPosition + count);
    std::memcpy(FData.data() + FPosition, buffer, count);
    FPosition += count;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
    int64_t base = origin == TSeekOrigin::soBeginning ? 0
                 : origin == TSeekOrigin::soCurrent   ? static_cast<int64_t>(FPosition)
                                                      : static_cast<int64_t>(FData.size());
    int64_t pos = base + offset;
    FPosition = pos < 0 ? 0 : static_cast<size_t>(pos);
    return static_cast<int64_t>(FPosition);
}

void TMemoryStream::SetSize(int64_t newSize) {
    FData.resize(newSize < 0 ? 0 : static_cast<size_t>(newSize));
    FPosition = std::min(FPosition, FData.size());
}

std::vector<unsigned char> TMemoryStream::TakeBytes() {
    FPosition = 0;
    return std::exchange(FData, {});
}

void TMemoryStream::Clear() {
    FData.clear();
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& source) {
    source.SetPosition(0);
    int64_t size = source.Size();
    FData.assign(static_cast<size_t>(size), 0);
    FPosition = 0;
    source.ReadBuffer(FData.data(), FData.size());
}

void TMemoryStream::LoadFromFile(const std::wstring& fileName) {
    TFileStream file(fileName, TFileStream::fmOpenRead);
    LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const std::wstring& fileName) const {
    TFileStream file(fileName, TFileStream::fmCreate);
    file.WriteBuffer(FData.data(), FData.size());
}
