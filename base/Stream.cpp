#include "base/Stream.h"

#include "base/Exception.h"

#include <algorithm>
#include <vector>

int64_t TStream::Size() {
    int64_t pos = Position();
    int64_t end = Seek(0, TSeekOrigin::soEnd);
    SetPosition(pos);
    return end;
}

void TStream::ReadBuffer(void* buffer, size_t count) {
    if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, size_t count) {
    if (count != 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    constexpr size_t chunk = 64 * 1024;
    std::vector<unsigned char> buffer(static_cast<size_t>(std::min<int64_t>(count, chunk)));
    int64_t left = count;
    while (left > 0) {
        size_t n = static_cast<size_t>(std::min<int64_t>(left, chunk));
        source.ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        left -= static_cast<int64_t>(n);
    }
    return count;
}
