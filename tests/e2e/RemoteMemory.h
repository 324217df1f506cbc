#pragma once
// A block of memory in another process, for the common controls' messages whose parameters point at
// structures and text buffers: the control reads and writes them in its own address space.
#include <windows.h>

#include <cstddef>
#include <string>

class TRemoteMemory {
public:
    // Throws std::runtime_error when the block cannot be had.
    TRemoteMemory(HANDLE process, std::size_t size);
    ~TRemoteMemory();
    TRemoteMemory(const TRemoteMemory&) = delete;
    TRemoteMemory& operator=(const TRemoteMemory&) = delete;

    // The address at offset within the block, as the other process sees it.
    void* At(std::size_t offset = 0) const { return static_cast<char*>(FAddress) + offset; }
    LPARAM Param(std::size_t offset = 0) const { return reinterpret_cast<LPARAM>(At(offset)); }

    // Copy to and from the block; throw when the range leaves the block or the copy fails.
    void Write(std::size_t offset, const void* data, std::size_t size);
    void Read(std::size_t offset, void* data, std::size_t size) const;
    template <typename T>
    void Put(const T& value, std::size_t offset = 0) { Write(offset, &value, sizeof value); }
    template <typename T>
    T Get(std::size_t offset = 0) const {
        T value{};
        Read(offset, &value, sizeof value);
        return value;
    }
    // The NUL-terminated text of at most chars characters at offset.
    std::wstring Text(std::size_t offset, std::size_t chars) const;

private:
    void CheckRange(std::size_t offset, std::size_t size) const;

    HANDLE FProcess;
    void* FAddress;
    std::size_t FSize;
};
