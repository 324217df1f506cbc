#pragma once
// Decoder of packed skins: LZSS over a 4 KB ring with adaptive Huffman coding (see LZHModel.h).
#include "base/Exception.h"

#include <cstddef>
#include <cstdint>
#include <functional>

// The decoder's only failure of its own: no memory for its ring and tables.
class ElzhException : public Exception { using Exception::Exception; };

class TLZH {
public:
    // Fills buffer with up to wanted bytes and returns how many it delivered; 0 means the input is
    // over, and the decoder then reads zero bits.
    using TReadProc = std::function<size_t(unsigned char* buffer, size_t wanted)>;
    // Takes count bytes and returns how many it wrote; fewer is a write error.
    using TWriteProc = std::function<size_t(const unsigned char* buffer, size_t count)>;

    // Produces exactly Count bytes (nothing when Count <= 0), passing them to WriteProc in blocks.
    // Corrupt or short input gives wrong bytes, never more or fewer. Raises ElzhException when the
    // tables cannot be allocated, EWriteError on a short write; exceptions of the callbacks pass
    // through.
    void Decode(int32_t Count, const TReadProc& ReadProc, const TWriteProc& WriteProc);

    static constexpr size_t BlockSize = 4096;  // most bytes asked of ReadProc at once
};
