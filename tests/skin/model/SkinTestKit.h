#pragma once
// Small bitmaps with known pixels, and packed skins made from an ini text and bitmaps, for the skin
// model's suites.
#include "base/MemoryStream.h"
#include "skin/data/SkinData.h"
#include "tools/lzhpack/LZHPacker.h"
#include "tools/skinpack/SkinPacker.h"
#include "ui/Bitmap.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

constexpr TColor Magenta = 0xFF00FF;

inline TColor RGBOf(int r, int g, int b) { return r | g << 8 | b << 16; }

// A 24-bit bitmap whose pixel (x, y) is Colour(x, y).
inline std::unique_ptr<TBitmap> MakeBitmap(int width, int height, const std::function<TColor(int, int)>& Colour) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        auto* p = static_cast<unsigned char*>(bitmap->ScanLine(y));
        for (int x = 0; x < width; ++x) {
            const TColor c = Colour(x, y);
            p[x * 3] = static_cast<unsigned char>(c >> 16);
            p[x * 3 + 1] = static_cast<unsigned char>(c >> 8);
            p[x * 3 + 2] = static_cast<unsigned char>(c);
        }
    }
    return bitmap;
}

inline std::unique_ptr<TBitmap> SolidBitmap(int width, int height, TColor colour) {
    return MakeBitmap(width, height, [=](int, int) { return colour; });
}

// The RGB value of a pixel of any format.
inline TColor PixelAt(TBitmap& bitmap, int x, int y) {
    if (bitmap.PixelFormat() == pf24bit || bitmap.PixelFormat() == pf32bit) {
        const int bytes = bitmap.PixelFormat() == pf24bit ? 3 : 4;
        auto* p = static_cast<const unsigned char*>(bitmap.ScanLine(y)) + x * bytes;
        return RGBOf(p[2], p[1], p[0]);
    }
    return static_cast<TColor>(GetPixel(bitmap.Canvas()->Handle(), x, y));
}

inline std::vector<unsigned char> BmpBytes(TBitmap& bitmap) {
    TMemoryStream stream;
    bitmap.SaveToStream(stream);
    return stream.Bytes();
}

inline std::vector<unsigned char> SolidBmp(int width, int height, TColor colour) {
    return BmpBytes(*SolidBitmap(width, height, colour));
}

// A packed skin: the ini (when given) and the named members.
inline std::vector<unsigned char> PackSkin(const std::string& ini, std::vector<TSkinMember> members,
                                           bool withIni = true) {
    if (withIni) members.insert(members.begin(), TSkinMember{"skin.ini", std::vector<unsigned char>(ini.begin(), ini.end())});
    return TLZHPacker::Pack(TSkinPacker::BuildArchive(members));
}

inline void SetSkinStream(TSkinData& skin, const std::vector<unsigned char>& packed) {
    skin.SkinStream.Clear();
    skin.SkinStream.WriteBuffer(packed.data(), packed.size());
}

// A component with the given skin loaded (LoadSkin's result in loaded).
inline std::unique_ptr<TSkinData> LoadedSkin(const std::string& ini, std::vector<TSkinMember> members = {}) {
    auto skin = std::make_unique<TSkinData>(nullptr);
    SetSkinStream(*skin, PackSkin(ini, std::move(members)));
    skin->LoadSkin();
    return skin;
}

inline std::vector<unsigned char> ReadWholeFile(const std::string& path) {
    TMemoryStream stream;
    stream.LoadFromFile(std::wstring(path.begin(), path.end()));
    return stream.Bytes();
}
