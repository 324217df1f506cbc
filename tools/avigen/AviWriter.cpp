#include "AviWriter.h"

#include <algorithm>
#include <stdexcept>
#include <string_view>

namespace {

constexpr std::uint32_t AVIF_HASINDEX = 0x10;
constexpr std::uint32_t AVIIF_KEYFRAME = 0x10;
constexpr std::uint32_t BI_RGB = 0;

// Little-endian RIFF output; chunk sizes are patched in when a chunk closes.
class TRiffWriter {
public:
    void FourCC(std::string_view code) {
        for (char c : code) FBytes.push_back(static_cast<std::uint8_t>(c));
    }
    void U16(std::uint32_t value) {
        for (int shift = 0; shift < 16; shift += 8) FBytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
    void U32(std::uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) FBytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
    void Bytes(const std::uint8_t* data, std::size_t count) { FBytes.insert(FBytes.end(), data, data + count); }

    // Opens a chunk (or a list when form is given) and returns where its size field is.
    std::size_t Open(std::string_view id, std::string_view form = {}) {
        FourCC(id);
        std::size_t sizeAt = FBytes.size();
        U32(0);
        if (!form.empty()) FourCC(form);
        return sizeAt;
    }
    // Closes the chunk opened at sizeAt: writes its size and pads it to an even length.
    void Close(std::size_t sizeAt) {
        std::size_t size = FBytes.size() - sizeAt - 4;
        for (int i = 0; i < 4; ++i) FBytes[sizeAt + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(size >> (8 * i));
        if (size % 2 != 0) FBytes.push_back(0);
    }
    std::size_t Position() const { return FBytes.size(); }
    std::vector<std::uint8_t> Take() { return std::move(FBytes); }

private:
    std::vector<std::uint8_t> FBytes;
};

}  // namespace

std::vector<std::uint8_t> WriteAvi(const TClip& clip) {
    if (clip.Width <= 0 || clip.Height <= 0 || clip.Width > 4096 || clip.Height > 4096)
        throw std::invalid_argument("clip size out of range");
    if (clip.Palette.empty() || clip.Palette.size() > 256) throw std::invalid_argument("palette needs 1 to 256 entries");
    if (clip.Frames.empty()) throw std::invalid_argument("clip has no frames");
    const auto width = static_cast<std::uint32_t>(clip.Width);
    const auto height = static_cast<std::uint32_t>(clip.Height);
    for (const TFrame& frame : clip.Frames)
        if (frame.size() != std::size_t{width} * height) throw std::invalid_argument("frame size differs from clip size");

    const std::uint32_t stride = (width + 3) & ~3u;  // DIB rows are DWORD aligned
    const std::uint32_t imageSize = stride * height;
    const auto frameCount = static_cast<std::uint32_t>(clip.Frames.size());
    const auto colours = static_cast<std::uint32_t>(clip.Palette.size());

    TRiffWriter out;
    std::size_t riff = out.Open("RIFF", "AVI ");
    std::size_t hdrl = out.Open("LIST", "hdrl");

    std::size_t avih = out.Open("avih");
    out.U32(clip.MicroSecPerFrame);
    out.U32(static_cast<std::uint32_t>(std::uint64_t{imageSize} * 1000000 / clip.MicroSecPerFrame));
    out.U32(0);              // padding granularity
    out.U32(AVIF_HASINDEX);
    out.U32(frameCount);
    out.U32(0);              // initial frames
    out.U32(1);              // streams
    out.U32(imageSize);      // suggested buffer size
    out.U32(width);
    out.U32(height);
    for (int i = 0; i < 4; ++i) out.U32(0);
    out.Close(avih);

    std::size_t strl = out.Open("LIST", "strl");
    std::size_t strh = out.Open("strh");
    out.FourCC("vids");
    out.FourCC("DIB ");
    out.U32(0);              // flags
    out.U16(0);              // priority
    out.U16(0);              // language
    out.U32(0);              // initial frames
    out.U32(clip.MicroSecPerFrame);  // scale / rate = seconds per frame
    out.U32(1000000);
    out.U32(0);              // start
    out.U32(frameCount);
    out.U32(imageSize);
    out.U32(0xFFFFFFFFu);    // quality: default
    out.U32(0);              // sample size: varies
    out.U16(0);
    out.U16(0);
    out.U16(width);
    out.U16(height);
    out.Close(strh);

    std::size_t strf = out.Open("strf");
    out.U32(40);             // BITMAPINFOHEADER
    out.U32(width);
    out.U32(height);         // positive: bottom-up rows
    out.U16(1);              // planes
    out.U16(8);              // bits per pixel
    out.U32(BI_RGB);
    out.U32(imageSize);
    out.U32(0);
    out.U32(0);
    out.U32(colours);
    out.U32(0);
    for (const TPaletteEntry& entry : clip.Palette) {
        const std::uint8_t quad[4] = {entry.Blue, entry.Green, entry.Red, 0};
        out.Bytes(quad, 4);
    }
    out.Close(strf);
    out.Close(strl);
    out.Close(hdrl);

    std::size_t movi = out.Open("LIST", "movi");
    const std::size_t moviData = movi + 4;  // index offsets count from the 'movi' form type
    std::vector<std::uint32_t> offsets;
    std::vector<std::uint8_t> row(stride, 0);
    for (const TFrame& frame : clip.Frames) {
        offsets.push_back(static_cast<std::uint32_t>(out.Position() - moviData));
        std::size_t chunk = out.Open("00db");
        for (std::uint32_t y = height; y-- > 0;) {
            std::copy_n(frame.begin() + static_cast<std::ptrdiff_t>(y * width), width, row.begin());
            out.Bytes(row.data(), row.size());
        }
        out.Close(chunk);
    }
    out.Close(movi);

    std::size_t idx1 = out.Open("idx1");
    for (std::uint32_t offset : offsets) {
        out.FourCC("00db");
        out.U32(AVIIF_KEYFRAME);
        out.U32(offset);
        out.U32(imageSize);
    }
    out.Close(idx1);
    out.Close(riff);
    return out.Take();
}
