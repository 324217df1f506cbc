#include "skin/data/LZH.h"

#include "skin/data/LZHModel.h"

#include <algorithm>
#include <array>
#include <memory>
#include <new>

using namespace lzh;

namespace {

// Everything one decoding needs, allocated per call so nothing survives between calls.
class TDecoder {
public:
    TDecoder(const TLZH::TReadProc& read, const TLZH::TWriteProc& write) : FRead(read), FWrite(write) {
        FRing.fill(RingFill);
    }

    void Run(int32_t count) {
        FLeft = count;
        while (FLeft > 0) {
            unsigned symbol = DecodeChar();
            if (symbol < 256) {
                Put(static_cast<unsigned char>(symbol));
            } else {
                unsigned from = (FPos - DecodePosition() - 1) & RingMask;
                // A corrupt stream may ask for more than is left; the caller gets exactly count bytes.
                int32_t length = std::min(static_cast<int32_t>(symbol - 255 + Threshold), FLeft);
                for (int32_t k = 0; k < length; ++k) Put(FRing[(from + static_cast<unsigned>(k)) & RingMask]);
            }
        }
        Flush(FPos);  // at 0 the last stretch went out when the ring wrapped
    }

private:
    void Put(unsigned char byte) {
        FRing[FPos] = byte;
        FPos = (FPos + 1) & RingMask;
        --FLeft;
        // The ring doubles as the output buffer: each stretch is handed on before it is overwritten.
        if (FPos == 0) Flush(RingSize);
    }

    void Flush(unsigned end) {
        if (end <= FFlushed) return;
        size_t count = end - FFlushed;
        if (FWrite(FRing.data() + FFlushed, count) != count) throw EWriteError("Stream write error");
        FFlushed = end & RingMask;
    }

    unsigned DecodeChar() {
        unsigned n = FModel.Child[Root];
        while (n < TreeSize) n = FModel.Child[n + GetBit()];
        unsigned symbol = n - TreeSize;
        FModel.UpdateModel(symbol);
        return symbol;
    }

    unsigned DecodePosition() {
        unsigned i = GetBits(8);
        unsigned upper = PositionTables.Upper[i];
        unsigned further = PositionTables.FurtherBits[i];
        i = (i << further) | GetBits(further);
        return (upper << 6) | (i & 0x3F);
    }

    unsigned GetBit() {
        if (FBitCount == 0) Fill();
        unsigned bit = FBits >> 31;
        FBits <<= 1;
        --FBitCount;
        return bit;
    }

    unsigned GetBits(unsigned count) {
        if (FBitCount < count) Fill();
        unsigned value = FBits >> (32 - count);
        FBits <<= count;
        FBitCount -= count;
        return value;
    }

    // Tops the bit buffer up to at least 25 bits; past the end of the input the bits are zero.
    void Fill() {
        while (FBitCount <= 24) {
            FBits |= static_cast<uint32_t>(NextByte()) << (24 - FBitCount);
            FBitCount += 8;
        }
    }

    unsigned char NextByte() {
        if (FInPos == FInLength) {
            if (FInputOver) return 0;
            FInPos = 0;
            FInLength = std::min(FRead(FInput.data(), FInput.size()), FInput.size());
            if (FInLength == 0) {
                FInputOver = true;  // ask no more of a source that has said it is empty
                return 0;
            }
        }
        return FInput[FInPos++];
    }

    const TLZH::TReadProc& FRead;
    const TLZH::TWriteProc& FWrite;
    TLZHModel FModel;
    std::array<unsigned char, RingSize> FRing;
    unsigned FPos = FirstWrite;
    unsigned FFlushed = FirstWrite;
    int32_t FLeft = 0;

    std::array<unsigned char, TLZH::BlockSize> FInput;
    size_t FInPos = 0, FInLength = 0;
    bool FInputOver = false;
    uint32_t FBits = 0;
    unsigned FBitCount = 0;
};

}  // namespace

void TLZH::Decode(int32_t Count, const TReadProc& ReadProc, const TWriteProc& WriteProc) {
    if (Count <= 0) return;
    std::unique_ptr<TDecoder> decoder(new (std::nothrow) TDecoder(ReadProc, WriteProc));
    if (!decoder) throw ElzhException("LZH : Cannot get memory for dictionary tables");
    decoder->Run(Count);
}
