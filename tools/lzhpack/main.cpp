// lzhpack: packs a file into the packed-skin layout (32-bit unpacked size, then the LZH bit stream)
// or unpacks one.
#include "base/MemoryStream.h"
#include "base/StrUtils.h"
#include "tools/lzhpack/LZHPacker.h"

#include <cstdio>
#include <exception>
#include <string_view>

int main(int argc, char** argv) {
    const std::string_view mode = argc == 4 ? argv[1] : "";
    if (mode != "pack" && mode != "unpack") {
        std::fprintf(stderr,
                     "usage: lzhpack pack IN OUT     pack IN into OUT\n"
                     "       lzhpack unpack IN OUT   unpack the packed file IN into OUT\n");
        return 2;
    }
    try {
        TMemoryStream in;
        in.LoadFromFile(Utf8ToWide(argv[2]));
        auto out = mode == "pack" ? TLZHPacker::Pack(in.Bytes()) : TLZHPacker::Unpack(in.Bytes());
        TMemoryStream(std::move(out)).SaveToFile(Utf8ToWide(argv[3]));
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lzhpack: %s\n", e.what());
        return 1;
    }
}
