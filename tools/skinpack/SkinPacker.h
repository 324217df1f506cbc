#pragma once
// Builds skin archives: the ini description and the bitmaps it names, behind the archive header,
// name list and size table that TSkinReader reads, then packed with TLZHPacker. The output depends on
// nothing but the input bytes, so a committed skin can be rebuilt and compared byte for byte.
#include <filesystem>
#include <string>
#include <vector>

struct TSkinMember {
    std::string Name;
    std::vector<unsigned char> Bytes;
};

class TSkinPacker {
public:
    // The unpacked archive of these members, in this order (names as given, CR LF after each; the two
    // uninterpreted header words are 0). std::invalid_argument when a name holds a line break or there
    // are more members than a reader accepts.
    static std::vector<unsigned char> BuildArchive(const std::vector<TSkinMember>& members);

    // The members of the skin described by iniPath: the ini itself first, then every bitmap that one
    // of its values names, in name order, each read from the ini's folder (the file name matched
    // without regard to case). Names are lower case. std::runtime_error naming every bitmap that is
    // missing or is not a BMP file.
    static std::vector<TSkinMember> CollectMembers(const std::filesystem::path& iniPath);

    // The bitmap member names that the values of an ini text refer to, lower case, sorted, once each.
    static std::vector<std::string> BitmapNames(const std::string& iniText);

    // CollectMembers, BuildArchive and pack: the bytes of a .skn file.
    static std::vector<unsigned char> PackSkin(const std::filesystem::path& iniPath);
};
