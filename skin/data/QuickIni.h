#pragma once
// Read-only ini text held in memory: the skin description. Sections compare without regard to case,
// keys after lower-casing; the first section of a name and the first key in it decide.
#include "base/Stream.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class TQuickIni {
public:
    // Takes the stream from its position to its end as the text; a null stream changes nothing.
    void LoadFromStream(TStream* Stream);
    void LoadFromText(const std::string& Text);

    // The value of Key in Section, or Default when either is missing or the value is empty.
    std::string ReadString(const std::string& Section, const std::string& Key, const std::string& Default) const;
    // The value as a signed 32-bit number: decimal with an optional sign, or hexadecimal after "$" or
    // "0x"; anything else gives Default.
    int32_t ReadInteger(const std::string& Section, const std::string& Key, int32_t Default) const;
    // Section names in text order, without brackets and trimmed.
    void ReadSections(std::vector<std::string>& List) const;

    // Lines that carry content, trimmed; and each section header with its index in Lines.
    const std::vector<std::string>& Lines() const { return FLines; }
    const std::vector<std::pair<std::string, size_t>>& Sections() const { return FSections; }

    static bool IsSectionLine(const std::string& Line);
    static std::string KeyOf(const std::string& Line);
    static std::string ValueOf(const std::string& Line, const std::string& Key);
    // Text to number by the ReadInteger rules; false when it is not one.
    static bool ParseInteger(const std::string& Text, int32_t& Value);

private:
    // Index in FLines of the first header "[Name]", compared without regard to case; -1 when none.
    std::ptrdiff_t SectionLine(const std::string& Name) const;

    std::vector<std::string> FLines;
    std::vector<std::pair<std::string, size_t>> FSections;
};
