// avigen <out.avi>          writes the searching animation clip
// avigen --check <file.avi> exits 0 only when the file holds exactly the clip this tool makes
#include "AviWriter.h"
#include "FindFileClip.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <iterator>

int main(int argc, char** argv) {
    try {
        bool check = argc == 3 && std::strcmp(argv[1], "--check") == 0;
        if (argc != 2 && !check) {
            std::fprintf(stderr, "usage: avigen <out.avi> | avigen --check <file.avi>\n");
            return 2;
        }
        const char* path = argv[argc - 1];
        std::vector<std::uint8_t> avi = WriteAvi(MakeFindFileClip());
        if (check) {
            std::ifstream in(path, std::ios::binary);
            std::vector<std::uint8_t> existing((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            if (!in.eof() && !in.good()) existing.clear();
            if (existing != avi) {
                std::fprintf(stderr, "%s is not the clip avigen makes now: regenerate it with avigen\n", path);
                return 1;
            }
            return 0;
        }
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(avi.data()), static_cast<std::streamsize>(avi.size()));
        out.close();
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", path);
            return 1;
        }
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "avigen: %s\n", e.what());
        return 1;
    }
}
