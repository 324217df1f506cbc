#include "skin/data/SkinReader.h"

#include "base/StrUtils.h"
#include "skin/data/LZH.h"
#include "skin/data/SkinMessage.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

constexpr size_t HeaderSize = 16;
// A coded bit yields at most 6 bytes (a 60-byte match costs at least a 1-bit symbol, an 8-bit
// distance prefix and one more bit), and the last symbol may run into the zero padding.
constexpr int64_t MaxBytesPerCodedByte = 8 * 6;
constexpr int64_t PaddingAllowance = 60;

int32_t ReadInt32(const unsigned char* p) {
    uint32_t value = uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
    return static_cast<int32_t>(value);
}

[[noreturn]] void Fail(TSkinArchiveFault fault, const std::string& what) {
    throw ESkinArchive(fault, "Invalid skin archive: " + what);
}

// Lines split at CR, LF or CR LF; a final break adds no empty line; a zero byte ends the text.
std::vector<std::string> SplitNames(std::string_view text) {
    text = text.substr(0, std::min(text.find('\0'), text.size()));
    std::vector<std::string> names;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        if (names.size() == static_cast<size_t>(TSkinReader::MaxMembers))
            Fail(TSkinArchiveFault::TooManyMembers,
                 Format("more than %d members", TSkinReader::MaxMembers));
        names.push_back(LowerCaseAscii(text.substr(start, end - start)));
        bool crlf = end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n';
        start = end + (crlf ? 2 : 1);
    }
    return names;
}

}  // namespace

void TSkinReader::UnpackStream(TStream& Packed, TStream& Unpacked) {
    Packed.SetPosition(0);
    Unpacked.SetPosition(0);
    int64_t packedSize = Packed.Size();
    if (packedSize < 4) Fail(TSkinArchiveFault::PackedTooShort, "no room for the unpacked size");
    int32_t size = Packed.ReadValue<int32_t>();
    if (size < 0) Fail(TSkinArchiveFault::NegativeUnpackedSize, Format("unpacked size %d", size));
    if (size > MaxUnpackedSize)
        Fail(TSkinArchiveFault::UnpackedSizeTooLarge, Format("unpacked size %d is over the limit", size));
    int64_t coded = packedSize - 4;
    if (size > coded * MaxBytesPerCodedByte + PaddingAllowance)
        Fail(TSkinArchiveFault::UnpackedSizeBeyondPacked,
             std::to_string(coded) + " coded bytes cannot unpack to " + std::to_string(size));

    TLZH decoder;
    decoder.Decode(
        size, [&](unsigned char* buffer, size_t wanted) { return Packed.Read(buffer, wanted); },
        [&](const unsigned char* buffer, size_t count) { return Unpacked.Write(buffer, count); });
}

bool TSkinReader::LoadArchive(TStream& Packed) {
    Clear();
    TMemoryStream unpacked;
    UnpackStream(Packed, unpacked);
    return ReadArchive(unpacked);
}

bool TSkinReader::ReadArchive(TMemoryStream& Unpacked) {
    Clear();
    std::vector<unsigned char> bytes = Unpacked.TakeBytes();
    const size_t total = bytes.size();
    if (total < HeaderSize)
        Fail(TSkinArchiveFault::ShortHeader, std::to_string(total) + " bytes, no room for the header");
    int32_t version = ReadInt32(bytes.data());
    int32_t namesLength = ReadInt32(bytes.data() + 4);
    FArchiveVersion = version;
    if (version != CurrentVersion) {
        SkinShowMessage(OldVersionMessage);
        return false;
    }
    if (namesLength < 0) Fail(TSkinArchiveFault::NegativeNamesLength, Format("name list length %d", namesLength));
    size_t pos = HeaderSize;
    if (static_cast<size_t>(namesLength) > total - pos)
        Fail(TSkinArchiveFault::ShortNameList, Format("name list of %d bytes runs past the end", namesLength));
    std::vector<std::string> names = SplitNames(
        std::string_view(reinterpret_cast<const char*>(bytes.data() + pos), static_cast<size_t>(namesLength)));
    pos += static_cast<size_t>(namesLength);

    if (names.size() * 4 > total - pos)
        Fail(TSkinArchiveFault::ShortSizeTable,
             Format("size table of %d entries runs past the end", static_cast<int>(names.size())));
    const size_t dataLength = total - pos - names.size() * 4;
    std::vector<int32_t> sizes(names.size());
    std::vector<size_t> offsets(names.size());
    size_t offset = 0;
    for (size_t i = 0; i < names.size(); ++i, pos += 4) {
        sizes[i] = ReadInt32(bytes.data() + pos);
        if (sizes[i] < 0)
            Fail(TSkinArchiveFault::NegativeMemberSize,
                 Format("member \"%s\" has size %d", names[i].c_str(), sizes[i]));
        if (static_cast<size_t>(sizes[i]) > dataLength - offset)
            Fail(TSkinArchiveFault::MemberPastEnd,
                 Format("member \"%s\" (%d bytes) runs past the end of the data", names[i].c_str(), sizes[i]));
        offsets[i] = offset;
        offset += static_cast<size_t>(sizes[i]);
    }

    // Keep only the data area, in the same block: no second copy of the archive.
    bytes.erase(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(pos));
    FData = TMemoryStream(std::move(bytes));
    FNames = std::move(names);
    FSizes = std::move(sizes);
    FOffsets = std::move(offsets);
    FNamesLength = namesLength;
    return true;
}

void TSkinReader::Clear() {
    FNames.clear();
    FSizes.clear();
    FOffsets.clear();
    FData.Clear();
    FArchiveVersion = 0;
    FNamesLength = 0;
}

void TSkinReader::CopyMember(size_t index, TMemoryStream& Out) const {
    Out.WriteBuffer(FData.Memory() + FOffsets[index], static_cast<size_t>(FSizes[index]));
    Out.SetPosition(0);
}

bool TSkinReader::ExtractMember(const std::string& Name, TMemoryStream& Out) const {
    Out.Clear();
    auto it = std::find(FNames.begin(), FNames.end(), LowerCaseAscii(Name));
    if (it == FNames.end()) return false;
    CopyMember(static_cast<size_t>(it - FNames.begin()), Out);
    return true;
}

bool TSkinReader::FindMember(const std::string& Part, TMemoryStream& Out, std::string& FoundName) const {
    Out.Clear();
    auto it = std::find_if(FNames.begin(), FNames.end(),
                           [&](const std::string& name) { return name.find(Part) != std::string::npos; });
    if (it == FNames.end()) return false;
    CopyMember(static_cast<size_t>(it - FNames.begin()), Out);
    FoundName = *it;
    return true;
}

std::string TSkinReader::BitmapMemberName(const std::string& Value) {
    size_t slash = Value.find_last_of("\\:");
    std::string name = slash == std::string::npos ? Value : Value.substr(slash + 1);
    size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0 || name.compare(dot, std::string::npos, ".bmp") != 0) return {};
    return name;
}
