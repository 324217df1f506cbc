#include "skin/data/QuickIni.h"

#include "base/StrUtils.h"

#include <algorithm>
#include <string_view>

void TQuickIni::LoadFromStream(TStream* Stream) {
    if (!Stream) return;
    int64_t left = std::max<int64_t>(Stream->Size() - Stream->Position(), 0);
    std::string text(static_cast<size_t>(left), '\0');
    text.resize(Stream->Read(text.data(), text.size()));
    LoadFromText(text);
}

void TQuickIni::LoadFromText(const std::string& Text) {
    FLines.clear();
    FSections.clear();
    // A line ends at CR, LF or a zero byte; one CR and then one LF after it belong to the break; a
    // zero byte ends the text.
    const std::string_view text(Text.data(), std::min(Text.find('\0'), Text.size()));
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
        std::string line = Trim(text.substr(pos, end - pos));
        pos = end;
        if (pos < text.size() && text[pos] == '\r') ++pos;
        if (pos < text.size() && text[pos] == '\n') ++pos;
        if (line.empty() || line[0] == ';') continue;
        if (IsSectionLine(line)) FSections.emplace_back(line, FLines.size());
        FLines.push_back(std::move(line));
    }
}

bool TQuickIni::IsSectionLine(const std::string& Line) {
    return !Line.empty() && Line.front() == '[' && Line.back() == ']';
}

std::string TQuickIni::KeyOf(const std::string& Line) {
    size_t equals = Line.find('=');
    if (equals == std::string::npos) return {};
    return LowerCaseAscii(Trim(std::string_view(Line).substr(0, equals)));
}

std::string TQuickIni::ValueOf(const std::string& Line, const std::string& Key) {
    size_t equals = Line.find('=');
    if (Line.empty() || Key.empty() || equals == std::string::npos || KeyOf(Line) != Key) return {};
    return Trim(std::string_view(Line).substr(equals + 1));
}

std::ptrdiff_t TQuickIni::SectionLine(const std::string& Name) const {
    const std::string header = "[" + Name + "]";
    for (const auto& [text, index] : FSections)
        if (SameTextAscii(text, header)) return static_cast<std::ptrdiff_t>(index);
    return -1;
}

std::string TQuickIni::ReadString(const std::string& Section, const std::string& Key,
                                  const std::string& Default) const {
    const std::string key = LowerCaseAscii(Key);
    std::ptrdiff_t header = SectionLine(Section);
    if (header < 0) return Default;
    for (size_t i = static_cast<size_t>(header) + 1; i < FLines.size() && !IsSectionLine(FLines[i]); ++i) {
        if (KeyOf(FLines[i]) != key) continue;
        std::string value = ValueOf(FLines[i], key);
        return value.empty() ? Default : value;
    }
    return Default;
}

bool TQuickIni::ParseInteger(const std::string& Text, int32_t& Value) {
    std::string_view text = Text;
    int base = 10;
    bool negative = false;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    } else if (!text.empty() && text[0] == '$') {
        text.remove_prefix(1);
        base = 16;
    } else if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return false;
    // Decimal must fit the signed range; hexadecimal takes all 32 bits, so $FFFFFFFF is -1.
    const uint64_t limit = base == 16 ? 0xFFFFFFFFu : negative ? 0x80000000u : 0x7FFFFFFFu;
    uint64_t value = 0;
    for (char ch : text) {
        int digit = ch >= '0' && ch <= '9'                 ? ch - '0'
                    : base == 16 && ch >= 'a' && ch <= 'f' ? ch - 'a' + 10
                    : base == 16 && ch >= 'A' && ch <= 'F' ? ch - 'A' + 10
                                                           : -1;
        if (digit < 0) return false;
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
        if (value > limit) return false;
    }
    uint32_t bits = static_cast<uint32_t>(negative ? 0 - value : value);
    Value = static_cast<int32_t>(bits);
    return true;
}

int32_t TQuickIni::ReadInteger(const std::string& Section, const std::string& Key, int32_t Default) const {
    int32_t value = 0;
    return ParseInteger(ReadString(Section, Key, ""), value) ? value : Default;
}

void TQuickIni::ReadSections(std::vector<std::string>& List) const {
    List.clear();
    for (const auto& section : FSections)
        List.push_back(Trim(std::string_view(section.first).substr(1, section.first.size() - 2)));
}
