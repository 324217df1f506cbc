#pragma once
// Byte streams: the abstract TStream and the helpers every stream shares.
#include <cstddef>
#include <cstdint>

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
public:
    virtual ~TStream() = default;

    // Reads or writes up to count bytes and returns how many were transferred.
    virtual size_t Read(void* buffer, size_t count) = 0;
    virtual size_t Write(const void* buffer, size_t count) = 0;
    // Moves the position and returns the new one; the position is clamped at 0.
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
    virtual int64_t Size();
    virtual void SetSize(int64_t newSize) = 0;

    int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(int64_t pos) { Seek(pos, TSeekOrigin::soBeginning); }

    // Exactly count bytes or EReadError / EWriteError.
    void ReadBuffer(void* buffer, size_t count);
    void WriteBuffer(const void* buffer, size_t count);
    // Copies count bytes from source's current position (all of source from its start when count is 0).
    int64_t CopyFrom(TStream& source, int64_t count);

    template <typename T> T ReadValue() {
        T value{};
        ReadBuffer(&value, sizeof value);
        return value;
    }
};
