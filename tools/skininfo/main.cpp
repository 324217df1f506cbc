// skininfo: lists the members of a packed skin with their sizes and checks it; the exit code is
// non-zero for a skin the program could not use as it is.
#include "base/MemoryStream.h"
#include "base/StrUtils.h"
#include "tools/skininfo/SkinChecker.h"

#include <cstdio>
#include <exception>
#include <string_view>

int main(int argc, char** argv) {
    if (argc != 2 || std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h") {
        std::fputs("usage: skininfo SKIN.SKN\n"
                   "Lists the members of the packed skin with their sizes and checks it: exit code 0 for a\n"
                   "good skin, 1 for a bad one (each problem is printed), 2 for wrong usage.\n",
                   argc == 2 ? stdout : stderr);
        return argc == 2 ? 0 : 2;
    }
    TMemoryStream packed;
    try {
        packed.LoadFromFile(Utf8ToWide(argv[1]));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skininfo: %s\n", e.what());
        return 1;
    }
    TSkinChecker checker;
    checker.Check(packed);
    for (const auto& line : checker.Listing) std::printf("%s\n", line.c_str());
    std::printf("%zu members, %lld bytes of member data, %lld bytes packed\n", checker.Listing.size(),
                static_cast<long long>(checker.UnpackedSize), static_cast<long long>(packed.Size()));
    for (const auto& problem : checker.Problems) std::fprintf(stderr, "skininfo: %s\n", problem.c_str());
    if (!checker.Problems.empty()) return 1;
    std::printf("OK\n");
    return 0;
}
