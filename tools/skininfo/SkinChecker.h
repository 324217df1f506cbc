#pragma once
// Checks a packed skin the way the program will read it: the archive must unpack and index cleanly,
// hold its ini description, and every bitmap member and every bitmap the ini names must be usable.
#include "base/Stream.h"

#include <string>
#include <vector>

class TSkinChecker {
public:
    // Loads Packed and fills Listing (one line per member) and Problems (empty for a good skin).
    void Check(TStream& Packed);

    std::vector<std::string> Listing;
    std::vector<std::string> Problems;
    int64_t UnpackedSize = 0;
};
