// Decode speed of packed skins: MB/s of decoded output on 1 MB of skin-like data (ini text, bitmaps
// with flat areas, gradients and noise), and the time to unpack and index a real packed skin.
//
// usage: bench_lzh [SKIN.SKN]   (default: the program's default skin, when it exists)
#include "base/MemoryStream.h"
#include "base/StrUtils.h"
#include "skin/data/SkinReader.h"
#include "tools/lzhpack/LZHPacker.h"
#include "tools/skinpack/SkinPacker.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;
using Clock = std::chrono::steady_clock;

// A 24-bit bitmap of w x h pixels in one of a few looks that real skin images have.
Bytes Bitmap(int w, int h, int look, std::mt19937& rng) {
    const int row = (w * 3 + 3) & ~3;
    Bytes b(54 + static_cast<size_t>(row * h));
    const auto put32 = [&](size_t at, uint32_t v) {
        for (unsigned k = 0; k < 4; ++k) b[at + k] = static_cast<unsigned char>(v >> (8 * k));
    };
    b[0] = 'B', b[1] = 'M';
    put32(2, static_cast<uint32_t>(b.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(w));
    put32(22, static_cast<uint32_t>(h));
    b[26] = 1, b[28] = 24;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            unsigned char* p = &b[54 + static_cast<size_t>(y * row + x * 3)];
            const bool edge = x < 2 || y < 2 || x >= w - 2 || y >= h - 2;
            unsigned v = look == 0 ? (edge ? 0x40u : 0xD5u)                              // flat face
                         : look == 1 ? static_cast<unsigned>(255 * y / h)                 // gradient
                         : look == 2 ? (x / 4 + y / 4) % 2 == 0 ? 0xFFu : 0x00u          // key-colour pattern
                                     : (0x80u + rng() % 32);                             // noisy texture
            p[0] = static_cast<unsigned char>(v);
            p[1] = static_cast<unsigned char>(look == 2 ? 0 : v);
            p[2] = static_cast<unsigned char>(v / 2 + 0x40);
        }
    return b;
}

// An archive of a little over size bytes: an ini describing many elements, then bitmaps of varied looks.
Bytes SkinLikeArchive(size_t size) {
    std::mt19937 rng(42);
    std::vector<TSkinMember> members{{"skin.ini", {}}};
    std::string ini;
    size_t total = 0;
    for (int i = 0; total < size; ++i) {
        const std::string name = "element" + std::to_string(i) + ".bmp";
        ini += Format("[Element%d]\r\nImage=%s\r\nLeftWidth=%d\r\nRightWidth=%d\r\nTopHeight=3\r\nFrame=%d\r\n"
                      "NormalColour2=%d %d %d\r\n\r\n",
                      i, name.c_str(), i % 7, i % 5, 1 + i % 5, i * 7 % 256, i * 13 % 256, i * 29 % 256);
        Bytes bmp = Bitmap(16 + static_cast<int>(rng() % 90), 8 + static_cast<int>(rng() % 40), i % 4, rng);
        total += bmp.size() + 120;
        members.push_back({name, std::move(bmp)});
    }
    members[0].Bytes.assign(ini.begin(), ini.end());
    return TSkinPacker::BuildArchive(members);
}

// Best time of a few rounds, each long enough to be measured.
double BestSeconds(const std::function<void()>& work) {
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        int runs = 0;
        const auto start = Clock::now();
        double elapsed = 0;
        do {
            work();
            ++runs;
            elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        } while (elapsed < 0.2);
        best = std::min(best, elapsed / runs);
    }
    return best;
}

void DecodeBench() {
    const Bytes data = SkinLikeArchive(1 << 20);
    const Bytes packed = TLZHPacker::Pack(data);
    Bytes out;
    const double seconds = BestSeconds([&] { out = TLZHPacker::Unpack(packed); });
    if (out != data) std::printf("DECODE MISMATCH\n");
    std::printf("decode: %zu bytes from %zu packed (%.1f : 1), %.2f ms, %.1f MB/s of output\n", data.size(),
                packed.size(), static_cast<double>(data.size()) / static_cast<double>(packed.size()), seconds * 1e3,
                static_cast<double>(data.size()) / seconds / 1e6);
}

void SkinBench(const std::filesystem::path& skin, const char* what) {
    TMemoryStream packed;
    packed.LoadFromFile(Utf8ToWide(skin.string()));
    TSkinReader reader;
    const double load = BestSeconds([&] { reader.LoadArchive(packed); });
    const double extract = BestSeconds([&] {
        TMemoryStream member;
        std::string name;
        reader.FindMember(".ini", member, name);
        for (const auto& n : reader.Names()) reader.ExtractMember(n, member);
    });
    std::printf("%s %s: %lld bytes packed, %zu members, %zu bytes of member data\n"
                "  unpack and index: %.2f ms; then find the ini and extract every member: %.2f ms\n",
                what, skin.string().c_str(), static_cast<long long>(packed.Size()), reader.Names().size(),
                reader.Data().Bytes().size(), load * 1e3, extract * 1e3);
}

}  // namespace

int main(int argc, char** argv) try {
    DecodeBench();
    std::filesystem::path skin = argc > 1 ? argv[1] : CLARIVO_SKINS_DIR "/default/default.skn";
    if (argc == 1 && !std::filesystem::exists(skin)) skin = CLARIVO_SKINS_DIR "/default.skn";
    if (std::filesystem::exists(skin)) {
        SkinBench(skin, "skin");
    } else {
        // No default skin yet: the same measurement on a skin packed here from test data.
        const auto scratch = std::filesystem::temp_directory_path() / "clarivo-bench-skin.skn";
        TMemoryStream(TLZHPacker::Pack(SkinLikeArchive(663250))).SaveToFile(Utf8ToWide(scratch.string()));
        std::printf("(%s does not exist)\n", skin.string().c_str());
        SkinBench(scratch, "generated skin-like archive");
        std::filesystem::remove(scratch);
    }
    return 0;
} catch (const std::exception& e) {
    std::fprintf(stderr, "bench_lzh: %s\n", e.what());
    return 1;
}
