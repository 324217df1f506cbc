#include "tools/skininfo/SkinChecker.h"

#include "base/MemoryStream.h"
#include "base/StrUtils.h"
#include "skin/data/SkinReader.h"
#include "tools/skinpack/SkinPacker.h"

#include <algorithm>
#include <exception>
#include <set>

namespace {

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// A BMP file begins with "BM" and holds at least its file header and the smallest info header.
bool LooksLikeBitmap(const TMemoryStream& member) {
    const auto& b = member.Bytes();
    return b.size() >= 14 + 12 && b[0] == 'B' && b[1] == 'M';
}

}  // namespace

void TSkinChecker::Check(TStream& Packed) {
    Listing.clear();
    Problems.clear();
    TSkinReader reader;
    try {
        if (!reader.LoadArchive(Packed)) {
            Problems.push_back(Format("archive version %d, the program reads only %d", reader.ArchiveVersion(),
                                      TSkinReader::CurrentVersion));
            return;
        }
    } catch (const std::exception& e) {
        Problems.push_back(e.what());
        return;
    }

    TMemoryStream member;
    std::string iniName;
    std::set<std::string> iniBitmaps;
    if (reader.FindMember(".ini", member, iniName)) {
        auto names = TSkinPacker::BitmapNames(std::string(member.Bytes().begin(), member.Bytes().end()));
        iniBitmaps.insert(names.begin(), names.end());
    } else {
        Problems.push_back("no member whose name contains \".ini\": the skin has no description");
    }

    const auto& names = reader.Names();
    UnpackedSize = static_cast<int64_t>(reader.Data().Bytes().size());
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        std::string note = name == iniName ? "description" : "";
        if (std::find(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(i), name) !=
            names.begin() + static_cast<std::ptrdiff_t>(i)) {
            Problems.push_back("\"" + name + "\" is stored twice; only the first can be read");
        } else if (reader.Sizes()[i] == 0) {
            Problems.push_back("\"" + name + "\" is empty: the program treats it as missing");
        } else if (EndsWith(name, ".bmp")) {
            reader.ExtractMember(name, member);
            if (!LooksLikeBitmap(member)) Problems.push_back("\"" + name + "\" is not a BMP file");
            if (!iniBitmaps.count(name)) note = "not named by the description";
        }
        Listing.push_back(Format("%10d  %s%s", reader.Sizes()[i], name.c_str(),
                                 note.empty() ? "" : ("  (" + note + ")").c_str()));
    }
    for (const std::string& name : iniBitmaps)
        if (!reader.ExtractMember(name, member))
            Problems.push_back("the description names \"" + name + "\", which the archive does not hold");
}
