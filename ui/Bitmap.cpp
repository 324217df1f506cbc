#include "ui/Bitmap.h"

#include "base/Stream.h"
#include "base/StrUtils.h"
#include "base/Thread.h"
#include "ui/Errors.h"

#include <algorithm>
#include <cstring>

const TClassInfo TBitmap::MetaClass("TBitmap", &TPersistent::MetaClass, nullptr, {});

namespace {

constexpr int MaxSide = 32768;
constexpr uint64_t MaxPixels = uint64_t{1} << 28;

int BitsFor(TPixelFormat format) {
    static constexpr int bits[] = {32, 1, 4, 8, 16, 16, 24, 32};
    return bits[format];
}

struct TBitmapInfo {
    BITMAPINFOHEADER Header;
    RGBQUAD Colors[256];
};

std::vector<RGBQUAD> DefaultPalette(TPixelFormat format) {
    static constexpr unsigned char vga[16][3] = {
        {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},   {128, 0, 128},
        {0, 128, 128},   {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0}, {255, 255, 0},
        {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    std::vector<RGBQUAD> colors;
    auto add = [&](int r, int g, int b) {
        colors.push_back({static_cast<BYTE>(b), static_cast<BYTE>(g), static_cast<BYTE>(r), 0});
    };
    if (format == pf1bit) {
        add(0, 0, 0);
        add(255, 255, 255);
    } else if (format == pf4bit || format == pf8bit) {
        for (auto& c : vga) add(c[0], c[1], c[2]);
        if (format == pf8bit) {
            for (int r = 0; r < 6; ++r)
                for (int g = 0; g < 6; ++g)
                    for (int b = 0; b < 6; ++b) add(r * 51, g * 51, b * 51);
            while (colors.size() < 256) {
                int grey = static_cast<int>((colors.size() - 232) * 10 + 8);
                add(grey, grey, grey);
            }
        }
    }
    return colors;
}

// Bounds-checked little-endian reads over the BMP's bytes.
class TBmpBytes {
public:
    explicit TBmpBytes(const std::vector<unsigned char>& data) : FData(data) {}
    size_t Size() const { return FData.size(); }
    uint32_t U16(size_t at) const {
        Need(at, 2);
        return static_cast<uint32_t>(FData[at] | FData[at + 1] << 8);
    }
    uint32_t U32(size_t at) const {
        Need(at, 4);
        return static_cast<uint32_t>(FData[at]) | static_cast<uint32_t>(FData[at + 1]) << 8 |
               static_cast<uint32_t>(FData[at + 2]) << 16 | static_cast<uint32_t>(FData[at + 3]) << 24;
    }
    const unsigned char* At(size_t at, uint64_t count) const {
        Need(at, count);
        return FData.data() + at;
    }
    void Need(uint64_t at, uint64_t count) const {
        if (at > FData.size() || count > FData.size() - at) throw EInvalidGraphic("Bitmap data is truncated");
    }

private:
    const std::vector<unsigned char>& FData;
};

// Extracts one channel of a bit-field pixel and scales it to 8 bits.
struct TChannel {
    uint32_t Mask = 0;
    int Shift = 0;
    int Bits = 0;
    explicit TChannel(uint32_t mask) : Mask(mask) {
        if (!mask) return;
        while (!((mask >> Shift) & 1)) ++Shift;
        while (Shift + Bits < 32 && ((mask >> (Shift + Bits)) & 1)) ++Bits;
    }
    unsigned char Get(uint32_t pixel) const {
        if (!Mask) return 0;
        uint32_t v = (pixel & Mask) >> Shift;
        uint32_t max = Bits >= 32 ? 0xFFFFFFFFu : (1u << Bits) - 1;
        return static_cast<unsigned char>(static_cast<uint64_t>(v) * 255 / max);
    }
};

}  // namespace

int BitsPerPixel(TPixelFormat format) { return BitsFor(format); }

// ---- the DC pool ----

// One of the pool's memory DCs, and the bitmap it is lent to.
struct TPooledDC {
    UniqueMemoryDC DC;
    HGDIOBJ Empty = nullptr;  // the 1 x 1 bitmap a new DC holds, selected while it has no DIB section
    int Saved = 0;            // the DC's state from before it was lent (SaveDC), put back on return
    TBitmap* Owner = nullptr;
    uint64_t LastUse = 0;
    int Locks = 0;
};

class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap& bitmap) : FBitmap(bitmap) {}
    void Lent(HDC dc) { SetHandle(dc); }
    void Taken() { HandleTaken(); }

protected:
    void HandleNeeded() const override;

private:
    TBitmap& FBitmap;
};

// The memory DCs the bitmaps share. A skin holds dozens of bitmaps (hundreds for a large one), most of
// them drawn from now and then; a DC each would hold as many DCs for the program's whole life. A DC is
// lent to a bitmap when its canvas is used and stays with it until BitmapDCPoolSize other bitmaps have
// been lent DCs since; then the least recently used one goes back. Locked DCs never go back: with every
// DC locked the pool grows past its size, and shrinks again as locks end.
//
// Main thread only, unsynchronised: the program's worker threads (the search, the shell tree's folder
// watcher) use no bitmap, and Use refuses any other thread.
class TBitmapDCPool {
public:
    // Lends the bitmap a DC if it has none; either way it counts as the one used last.
    void Use(TBitmap& bitmap);
    // The bitmap is going: its DC is free for another.
    void GiveBack(TBitmap& bitmap);
    void Lock(TBitmap& bitmap) { ++bitmap.FDC->Locks; }
    void Unlock(TBitmap& bitmap);

private:
    TPooledDC& Free();
    // An idle DC, else the least recently used unlocked one; null when every DC is locked.
    TPooledDC* Spare();
    TPooledDC& NewDC();
    static void MakeDC(TPooledDC& dc);
    static void Lend(TPooledDC& dc, TBitmap& bitmap);
    static void Return(TPooledDC& dc);
    void Trim();

    std::vector<std::unique_ptr<TPooledDC>> FDCs;
    uint64_t FClock = 0;
};

// Never destroyed: bitmaps freed by static destructors, in whatever order, still give their DCs back to
// it. The system frees its DCs with the process.
namespace {
TBitmapDCPool& DCPool() {
    static TBitmapDCPool& pool = *new TBitmapDCPool;
    return pool;
}
}  // namespace

void TBitmapCanvas::HandleNeeded() const { DCPool().Use(FBitmap); }

void TBitmapDCPool::Use(TBitmap& bitmap) {
    if (!TThread::IsMainThread()) throw EInvalidOperation("Bitmaps are drawn on the main thread only");
    if (!bitmap.FDC) Lend(Free(), bitmap);
    bitmap.FDC->LastUse = ++FClock;
}

void TBitmapDCPool::GiveBack(TBitmap& bitmap) {
    if (!bitmap.FDC) return;
    Return(*bitmap.FDC);
    Trim();
}

void TBitmapDCPool::Unlock(TBitmap& bitmap) {
    --bitmap.FDC->Locks;
    Trim();
}

TPooledDC& TBitmapDCPool::Free() {
    TPooledDC* spare = Spare();
    if (spare && !spare->Owner) return *spare;
    if (!spare || FDCs.size() < BitmapDCPoolSize) return NewDC();
    // Taken from its bitmap, the DC is made anew: an HDC someone kept too long then draws into no
    // bitmap at all instead of into the next one.
    Return(*spare);
    MakeDC(*spare);
    return *spare;
}

TPooledDC* TBitmapDCPool::Spare() {
    TPooledDC* spare = nullptr;
    for (auto& dc : FDCs) {
        if (!dc->Owner) return dc.get();
        if (!dc->Locks && (!spare || dc->LastUse < spare->LastUse)) spare = dc.get();
    }
    return spare;
}

TPooledDC& TBitmapDCPool::NewDC() {
    auto dc = std::make_unique<TPooledDC>();
    MakeDC(*dc);
    FDCs.push_back(std::move(dc));
    return *FDCs.back();
}

void TBitmapDCPool::MakeDC(TPooledDC& dc) {
    dc.DC.reset(CreateCompatibleDC(nullptr));
    if (!dc.DC) RaiseLastOSError("CreateCompatibleDC");
    // Shrinking a colour image the system's default way (pixels ANDed together) is never what a
    // bitmap wants; every routine that stretches into one would set this first.
    SetStretchBltMode(dc.DC.get(), COLORONCOLOR);
    dc.Empty = GetCurrentObject(dc.DC.get(), OBJ_BITMAP);
}

void TBitmapDCPool::Lend(TPooledDC& dc, TBitmap& bitmap) {
    dc.Saved = SaveDC(dc.DC.get());
    dc.Owner = &bitmap;
    dc.Locks = 0;
    bitmap.FDC = &dc;
    bitmap.SelectIntoDC();
    bitmap.FCanvas->Lent(dc.DC.get());
}

void TBitmapDCPool::Return(TPooledDC& dc) {
    TBitmap& owner = *dc.Owner;
    owner.FCanvas->Taken();
    owner.SelectIntoDC(true);
    RestoreDC(dc.DC.get(), dc.Saved);
    owner.FDC = nullptr;
    dc.Owner = nullptr;
}

void TBitmapDCPool::Trim() {
    while (FDCs.size() > BitmapDCPoolSize) {
        TPooledDC* spare = Spare();
        if (!spare) return;
        if (spare->Owner) Return(*spare);
        std::erase_if(FDCs, [&](const auto& dc) { return dc.get() == spare; });
    }
}

TBitmapDCLock::TBitmapDCLock(TBitmap& bitmap) : FBitmap(bitmap), FDC(bitmap.Canvas()->Handle()) {
    DCPool().Lock(bitmap);
}

TBitmapDCLock::~TBitmapDCLock() { DCPool().Unlock(FBitmap); }

// ---- TBitmap ----

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() { DCPool().GiveBack(*this); }

TCanvas* TBitmap::Canvas() {
    if (!FCanvas) FCanvas = std::make_unique<TBitmapCanvas>(*this);
    return FCanvas.get();
}

void TBitmap::SelectIntoDC(bool empty) {
    if (FDC) SelectObject(FDC->DC.get(), !empty && FHandle ? FHandle.get() : FDC->Empty);
}

void TBitmap::Create(int width, int height, TPixelFormat format, const RGBQUAD* palette, int paletteSize) {
    if (width < 0 || height < 0 || width > MaxSide || height > MaxSide)
        throw EInvalidGraphic("Bitmap size " + std::to_string(width) + " x " + std::to_string(height) + " is not allowed");
    // A lent DC stays lent; only the bitmap selected into it changes.
    SelectIntoDC(true);
    FHandle.reset();
    FBits = nullptr;
    FWidth = width;
    FHeight = height;
    FPixelFormat = format == pfDevice ? pf32bit : format;
    if (width == 0 || height == 0) return;

    TBitmapInfo info{};
    info.Header.biSize = sizeof(BITMAPINFOHEADER);
    info.Header.biWidth = width;
    info.Header.biHeight = height;
    info.Header.biPlanes = 1;
    info.Header.biBitCount = static_cast<WORD>(BitsFor(FPixelFormat));
    info.Header.biCompression = BI_RGB;
    if (FPixelFormat == pf16bit) {
        info.Header.biCompression = BI_BITFIELDS;
        DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
        std::memcpy(info.Colors, masks, sizeof masks);
    } else if (BitsFor(FPixelFormat) <= 8) {
        std::vector<RGBQUAD> defaults;
        if (!palette) {
            defaults = DefaultPalette(FPixelFormat);
            palette = defaults.data();
            paletteSize = static_cast<int>(defaults.size());
        }
        paletteSize = std::min(paletteSize, 1 << BitsFor(FPixelFormat));
        std::copy(palette, palette + paletteSize, info.Colors);
        info.Header.biClrUsed = static_cast<DWORD>(paletteSize);
    }
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib) RaiseLastOSError("CreateDIBSection");
    FHandle.reset(dib);
    FBits = static_cast<unsigned char*>(bits);
    std::memset(FBits, 0, static_cast<size_t>(BytesPerRow()) * static_cast<size_t>(FHeight));
    SelectIntoDC();
}

std::vector<RGBQUAD> TBitmap::Palette() const {
    std::vector<RGBQUAD> colors;
    if (!FHandle || BitsFor(FPixelFormat) > 8) return colors;
    colors.resize(static_cast<size_t>(1) << BitsFor(FPixelFormat));
    // A bitmap can be selected into one DC only: the canvas's.
    HDC dc = const_cast<TBitmap*>(this)->Canvas()->Handle();
    colors.resize(GetDIBColorTable(dc, 0, static_cast<UINT>(colors.size()), colors.data()));
    return colors;
}

void TBitmap::Assign(const TPersistent* source) {
    if (!source) {
        Create(0, 0, FPixelFormat, nullptr, 0);
        Changed();
        return;
    }
    auto* other = dynamic_cast<const TBitmap*>(source);
    if (!other) return TPersistent::Assign(source);
    if (other == this) return;
    GdiFlush();
    std::vector<RGBQUAD> palette = other->Palette();
    Create(other->FWidth, other->FHeight, other->FPixelFormat, palette.empty() ? nullptr : palette.data(),
           static_cast<int>(palette.size()));
    if (FBits && other->FBits)
        std::memcpy(FBits, other->FBits, static_cast<size_t>(BytesPerRow()) * static_cast<size_t>(FHeight));
    FTransparent = other->FTransparent;
    FTransparentColor = other->FTransparentColor;
    Changed();
}

bool TBitmap::ReadBinaryProperty(std::string_view name, TStream& data) {
    if (!SameTextAscii(name, "Data")) return false;
    LoadFromStream(data);
    return true;
}

int TBitmap::BytesPerRow() const {
    return static_cast<int>(((static_cast<int64_t>(FWidth) * BitsFor(FPixelFormat) + 31) / 32) * 4);
}

void* TBitmap::ScanLine(int row) {
    if (row < 0 || row >= FHeight || !FBits) throw EInvalidGraphic("Scan line index out of range");
    GdiFlush();  // drawing through the canvas may still be queued
    return FBits + static_cast<size_t>(FHeight - 1 - row) * static_cast<size_t>(BytesPerRow());
}

void TBitmap::SetSize(int width, int height) {
    if (width == FWidth && height == FHeight) return;
    TBitmap old;
    old.Assign(this);
    std::vector<RGBQUAD> palette = old.Palette();
    Create(width, height, FPixelFormat, palette.empty() ? nullptr : palette.data(), static_cast<int>(palette.size()));
    if (FHandle && old.FHandle)
        BitBlt(Canvas()->Handle(), 0, 0, std::min(width, old.FWidth), std::min(height, old.FHeight),
               old.Canvas()->Handle(), 0, 0, SRCCOPY);
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format == pfDevice) format = pf32bit;
    if (format == FPixelFormat) return;
    TBitmap old;
    old.Assign(this);
    Create(FWidth, FHeight, format, nullptr, 0);
    if (FHandle) BitBlt(Canvas()->Handle(), 0, 0, FWidth, FHeight, old.Canvas()->Handle(), 0, 0, SRCCOPY);
    Changed();
}

TColor TBitmap::TransparentColor() const {
    if (FTransparentColor != clDefault) return FTransparentColor;
    if (!FHandle) return clDefault;
    auto* self = const_cast<TBitmap*>(this);
    return static_cast<TColor>(GetPixel(self->Canvas()->Handle(), 0, FHeight - 1));
}

HBITMAP TBitmap::ReleaseHandle() {
    SelectIntoDC(true);
    HBITMAP bitmap = FHandle.release();
    FBits = nullptr;
    FWidth = FHeight = 0;
    Changed();
    return bitmap;
}

void TBitmap::SetHandle(HBITMAP bitmap) {
    UniqueBitmap source(bitmap);
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) {
        Create(0, 0, FPixelFormat, nullptr, 0);
        Changed();
        return;
    }
    TPixelFormat format = info.bmBitsPixel == 1 ? pf1bit
                          : info.bmBitsPixel == 4 ? pf4bit
                          : info.bmBitsPixel == 8 ? pf8bit
                          : info.bmBitsPixel == 16 ? pf16bit
                          : info.bmBitsPixel == 24 ? pf24bit
                                                    : pf32bit;
    UniqueMemoryDC sourceDC(CreateCompatibleDC(nullptr));
    TSelectObject selectSource(sourceDC.get(), bitmap);
    std::vector<RGBQUAD> palette(256);
    palette.resize(GetDIBColorTable(sourceDC.get(), 0, 256, palette.data()));
    if (format == pf1bit && palette.empty()) palette = DefaultPalette(pf1bit);
    Create(info.bmWidth, info.bmHeight, format, palette.empty() ? nullptr : palette.data(),
           static_cast<int>(palette.size()));
    if (FHandle) BitBlt(Canvas()->Handle(), 0, 0, FWidth, FHeight, sourceDC.get(), 0, 0, SRCCOPY);
    Changed();
}

void TBitmap::LoadFromStream(TStream& stream) {
    // The file header says how long the file is; without a usable length the rest of the stream is it.
    unsigned char fileHeader[14];
    if (stream.Read(fileHeader, sizeof fileHeader) != sizeof fileHeader) throw EInvalidGraphic("Bitmap data is truncated");
    if (fileHeader[0] != 'B' || fileHeader[1] != 'M') throw EInvalidGraphic("Not a bitmap (no BM signature)");
    uint32_t fileSize = static_cast<uint32_t>(fileHeader[2] | fileHeader[3] << 8 | fileHeader[4] << 16) |
                        static_cast<uint32_t>(fileHeader[5]) << 24;
    int64_t available = stream.Size() - stream.Position();
    int64_t wanted = fileSize > sizeof fileHeader ? static_cast<int64_t>(fileSize) - 14 : available;
    if (wanted > available) throw EInvalidGraphic("Bitmap data is truncated");
    std::vector<unsigned char> data(fileHeader, fileHeader + 14);
    data.resize(static_cast<size_t>(14 + wanted));
    stream.ReadBuffer(data.data() + 14, static_cast<size_t>(wanted));

    TBmpBytes bmp(data);
    uint32_t dataOffset = bmp.U32(10);
    uint32_t headerSize = bmp.U32(14);
    if (headerSize != 12 && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 &&
        headerSize != 124)
        throw EInvalidGraphic("Unknown bitmap header size " + std::to_string(headerSize));
    bmp.Need(14, headerSize);
    int64_t width, height;
    uint32_t planes, bpp, compression = BI_RGB, colorsUsed = 0;
    if (headerSize == 12) {
        width = bmp.U16(18);
        height = bmp.U16(20);
        planes = bmp.U16(22);
        bpp = bmp.U16(24);
    } else {
        width = static_cast<int32_t>(bmp.U32(18));
        height = static_cast<int32_t>(bmp.U32(22));
        planes = bmp.U16(26);
        bpp = bmp.U16(28);
        compression = bmp.U32(30);
        colorsUsed = bmp.U32(46);
    }
    bool topDown = height < 0;
    if (topDown) height = -height;
    if (width <= 0 || height <= 0) throw EInvalidGraphic("Bitmap has no pixels");
    if (width > MaxSide || height > MaxSide || static_cast<uint64_t>(width * height) > MaxPixels)
        throw EInvalidGraphic("Bitmap is too large");
    if (planes != 1) throw EInvalidGraphic("Bitmap must have one plane");
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        throw EInvalidGraphic("Bitmap has " + std::to_string(bpp) + " bits per pixel");
    if (compression != BI_RGB && !(compression == BI_BITFIELDS && (bpp == 16 || bpp == 32)))
        throw EInvalidGraphic("Compressed bitmaps are not supported");
    if (topDown && compression != BI_RGB && compression != BI_BITFIELDS)
        throw EInvalidGraphic("A top-down bitmap cannot be compressed");

    size_t tableOffset = 14 + headerSize;
    uint32_t masks[3] = {0, 0, 0};
    if (compression == BI_BITFIELDS) {
        size_t maskOffset = headerSize == 40 ? tableOffset : 14 + 40;
        for (int i = 0; i < 3; ++i) masks[i] = bmp.U32(maskOffset + 4 * static_cast<size_t>(i));
        if (headerSize == 40) tableOffset += 12;
    }
    std::vector<RGBQUAD> palette;
    if (bpp <= 8) {
        uint32_t maxColors = 1u << bpp;
        uint32_t count = colorsUsed ? colorsUsed : maxColors;
        if (count > maxColors) throw EInvalidGraphic("Bitmap colour table is too large");
        size_t entry = headerSize == 12 ? 3 : 4;
        const unsigned char* table = bmp.At(tableOffset, uint64_t{count} * entry);
        for (uint32_t i = 0; i < count; ++i)
            palette.push_back({table[i * entry], table[i * entry + 1], table[i * entry + 2], 0});
        tableOffset += count * entry;
    }
    if (dataOffset < tableOffset) throw EInvalidGraphic("Bitmap pixels overlap its header");
    uint64_t stride = ((static_cast<uint64_t>(width) * bpp + 31) / 32) * 4;
    const unsigned char* pixels = bmp.At(dataOffset, stride * static_cast<uint64_t>(height));

    // 16 and 32-bit pixels in the standard layouts are kept as they are; other bit fields become 32-bit.
    bool standard = compression == BI_RGB || (bpp == 16 && masks[0] == 0xF800 && masks[1] == 0x07E0 && masks[2] == 0x1F) ||
                    (bpp == 32 && masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF);
    TPixelFormat format = bpp == 1 ? pf1bit : bpp == 4 ? pf4bit : bpp == 8 ? pf8bit
                          : bpp == 16 ? (compression == BI_RGB ? pf15bit : standard ? pf16bit : pf32bit)
                          : bpp == 24 ? pf24bit : pf32bit;
    TBitmap result;
    result.Create(static_cast<int>(width), static_cast<int>(height), format, palette.empty() ? nullptr : palette.data(),
                  static_cast<int>(palette.size()));
    TChannel red(masks[0]), green(masks[1]), blue(masks[2]);
    for (int64_t i = 0; i < height; ++i) {
        const unsigned char* source = pixels + static_cast<size_t>(i) * stride;
        auto y = static_cast<int>(topDown ? i : height - 1 - i);
        auto* dest = static_cast<unsigned char*>(result.ScanLine(y));
        if (standard) {
            std::memcpy(dest, source, static_cast<size_t>(std::min<uint64_t>(stride, static_cast<uint64_t>(result.BytesPerRow()))));
            continue;
        }
        for (int64_t x = 0; x < width; ++x) {
            uint32_t v = bpp == 16 ? static_cast<uint32_t>(source[x * 2] | source[x * 2 + 1] << 8)
                                   : static_cast<uint32_t>(source[x * 4]) | static_cast<uint32_t>(source[x * 4 + 1]) << 8 |
                                         static_cast<uint32_t>(source[x * 4 + 2]) << 16 |
                                         static_cast<uint32_t>(source[x * 4 + 3]) << 24;
            dest[x * 4] = blue.Get(v);
            dest[x * 4 + 1] = green.Get(v);
            dest[x * 4 + 2] = red.Get(v);
            dest[x * 4 + 3] = 0;
        }
    }
    Assign(&result);
}

void TBitmap::SaveToStream(TStream& stream) const {
    GdiFlush();
    std::vector<RGBQUAD> palette = Palette();
    uint32_t masksSize = FPixelFormat == pf16bit ? 12 : 0;
    uint32_t headerBytes = 14 + 40 + masksSize + static_cast<uint32_t>(palette.size() * sizeof(RGBQUAD));
    uint32_t imageBytes = static_cast<uint32_t>(BytesPerRow()) * static_cast<uint32_t>(FHeight);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfSize = headerBytes + imageBytes;
    file.bfOffBits = headerBytes;
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = FWidth;
    info.biHeight = FHeight;
    info.biPlanes = 1;
    info.biBitCount = static_cast<WORD>(BitsFor(FPixelFormat));
    info.biCompression = masksSize ? BI_BITFIELDS : BI_RGB;
    info.biSizeImage = imageBytes;
    info.biClrUsed = static_cast<DWORD>(palette.size());
    stream.WriteBuffer(&file, 14);
    stream.WriteBuffer(&info, sizeof info);
    if (masksSize) {
        DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
        stream.WriteBuffer(masks, sizeof masks);
    }
    if (!palette.empty()) stream.WriteBuffer(palette.data(), palette.size() * sizeof(RGBQUAD));
    if (FBits) stream.WriteBuffer(FBits, imageBytes);
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const wchar_t* name) {
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(instance, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap) throw EInvalidGraphic("Bitmap resource not found");
    SetHandle(bitmap);
}

void TBitmap::DrawTo(HDC dc, const TRect& dest) {
    if (Empty()) return;
    HDC source = Canvas()->Handle();
    if (FTransparent) {
        TransparentBlt(dc, dest.Left, dest.Top, dest.Width(), dest.Height(), source, 0, 0, FWidth, FHeight,
                       ColorToRGB(TransparentColor()));
    } else {
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, dest.Left, dest.Top, dest.Width(), dest.Height(), source, 0, 0, FWidth, FHeight, SRCCOPY);
    }
}

void TBitmap::Changed() {
    if (OnChange) OnChange(this);
}
