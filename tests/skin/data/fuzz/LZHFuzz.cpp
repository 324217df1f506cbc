// Any bytes as a coded stream: the decoder must produce exactly the count asked for, never read or
// write outside its tables, and never hang.
#include "skin/data/LZH.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    // The first two bytes choose the count (up to 64 KB: enough for several tree rebuilds from random bits).
    const int32_t count = data[0] | data[1] << 8;
    data += 2;
    size -= 2;
    size_t pos = 0, produced = 0;
    TLZH().Decode(
        count,
        [&](unsigned char* buffer, size_t wanted) {
            size_t n = wanted < size - pos ? wanted : size - pos;
            std::memcpy(buffer, data + pos, n);
            pos += n;
            return n;
        },
        [&](const unsigned char*, size_t n) {
            produced += n;
            return n;
        });
    if (produced != static_cast<size_t>(count)) __builtin_trap();
    return 0;
}
