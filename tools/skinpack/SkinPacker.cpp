#include "tools/skinpack/SkinPacker.h"

#include "base/StrUtils.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinReader.h"
#include "tools/lzhpack/LZHPacker.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

void AppendInt32(std::vector<unsigned char>& out, uint32_t value) {
    for (unsigned k = 0; k < 4; ++k) out.push_back(static_cast<unsigned char>(value >> (8 * k)));
}

std::vector<unsigned char> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The file in folder whose name matches name without regard to ASCII case; empty when none does.
fs::path FindFile(const fs::path& folder, const std::string& name) {
    if (fs::is_regular_file(folder / name)) return folder / name;
    std::vector<fs::path> matches;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file() && SameTextAscii(entry.path().filename().string(), name))
            matches.push_back(entry.path());
    std::sort(matches.begin(), matches.end());  // the same choice on every run and machine
    return matches.empty() ? fs::path() : matches.front();
}

}  // namespace

std::vector<unsigned char> TSkinPacker::BuildArchive(const std::vector<TSkinMember>& members) {
    if (members.size() > static_cast<size_t>(TSkinReader::MaxMembers))
        throw std::invalid_argument(Format("%d members, a skin holds at most %d",
                                           static_cast<int>(members.size()), TSkinReader::MaxMembers));
    std::string names;
    for (const auto& member : members) {
        if (member.Name.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
            throw std::invalid_argument("member name with a line break: " + member.Name);
        names += member.Name + "\r\n";
    }
    std::vector<unsigned char> out;
    AppendInt32(out, static_cast<uint32_t>(TSkinReader::CurrentVersion));
    AppendInt32(out, static_cast<uint32_t>(names.size()));
    AppendInt32(out, 0);
    AppendInt32(out, 0);
    out.insert(out.end(), names.begin(), names.end());
    for (const auto& member : members) AppendInt32(out, static_cast<uint32_t>(member.Bytes.size()));
    for (const auto& member : members) out.insert(out.end(), member.Bytes.begin(), member.Bytes.end());
    return out;
}

std::vector<std::string> TSkinPacker::BitmapNames(const std::string& iniText) {
    TQuickIni ini;
    ini.LoadFromText(iniText);
    std::set<std::string> names;
    // Only lines inside a section can be looked up.
    size_t first = ini.Sections().empty() ? ini.Lines().size() : ini.Sections().front().second;
    for (size_t i = first; i < ini.Lines().size(); ++i) {
        const std::string& line = ini.Lines()[i];
        std::string name = TSkinReader::BitmapMemberName(TQuickIni::ValueOf(line, TQuickIni::KeyOf(line)));
        if (!name.empty()) names.insert(LowerCaseAscii(name));
    }
    return {names.begin(), names.end()};
}

std::vector<TSkinMember> TSkinPacker::CollectMembers(const fs::path& iniPath) {
    std::vector<TSkinMember> members;
    members.push_back({LowerCaseAscii(iniPath.filename().string()), ReadFile(iniPath)});
    if (members.front().Name.find(".ini") == std::string::npos)
        throw std::runtime_error("the description's file name must contain \".ini\": " + iniPath.string());

    const fs::path folder = iniPath.parent_path().empty() ? fs::path(".") : iniPath.parent_path();
    const auto& iniBytes = members.front().Bytes;
    std::string problems;
    for (const std::string& name : BitmapNames(std::string(iniBytes.begin(), iniBytes.end()))) {
        fs::path file = FindFile(folder, name);
        if (file.empty()) {
            problems += "\n  missing: " + (folder / name).string();
            continue;
        }
        auto bytes = ReadFile(file);
        if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M') {
            problems += "\n  not a BMP file: " + file.string();
            continue;
        }
        members.push_back({name, std::move(bytes)});
    }
    if (!problems.empty()) throw std::runtime_error("bitmaps named by " + iniPath.string() + ":" + problems);
    return members;
}

std::vector<unsigned char> TSkinPacker::PackSkin(const fs::path& iniPath) {
    return TLZHPacker::Pack(BuildArchive(CollectMembers(iniPath)));
}
