// skinpack: builds a packed skin (.skn) from a skin description and the bitmaps it names.
#include "tools/skinpack/SkinPacker.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

constexpr const char* Usage =
    "usage: skinpack SKIN.INI OUT.SKN\n"
    "\n"
    "Packs the skin description SKIN.INI and every bitmap it names into the packed skin OUT.SKN.\n"
    "\n"
    "  - A bitmap is named by any value, in any section, whose file name ends in exactly \".bmp\"\n"
    "    (for example \"Image=buttons.bmp\"); a path before the name is ignored, as the skin loader\n"
    "    ignores it. Each named bitmap is read from the folder of SKIN.INI, its file name matched\n"
    "    without regard to case, and must be a BMP file. A missing one is an error.\n"
    "  - Values naming other files (\".tga\", ...) are left alone: the loader treats them as no image.\n"
    "  - The archive holds the ini first, then the bitmaps in name order, all names in lower case.\n"
    "  - The output depends only on the input bytes: packing the same files again gives the same\n"
    "    OUT.SKN byte for byte, so a committed skin can be rebuilt and compared.\n"
    "\n"
    "Check the result with: skininfo OUT.SKN\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
        std::fputs(Usage, stdout);
        return 0;
    }
    if (argc != 3) {
        std::fputs(Usage, stderr);
        return 2;
    }
    try {
        auto packed = TSkinPacker::PackSkin(argv[1]);
        std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(packed.data()), static_cast<std::streamsize>(packed.size()));
        if (!out.flush()) throw std::runtime_error(std::string("cannot write ") + argv[2]);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skinpack: %s\n", e.what());
        return 1;
    }
}
