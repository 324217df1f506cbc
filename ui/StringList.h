#pragma once
// TStringList: lines of text owned by a control (a radio group's items). Stored in a form description
// as its "Strings" property, a list of strings: Items.Strings = ( 'a' 'b' ). OnChange follows every
// change.
#include "ui/Persistent.h"

#include <string>
#include <vector>

class TStringList : public TPersistent {
public:
    CLARIVO_CLASS

    int Count() const { return static_cast<int>(FLines.size()); }
    // The line at index; std::out_of_range outside 0..Count-1.
    const std::wstring& Strings(int index) const { return FLines.at(static_cast<size_t>(index)); }
    const std::vector<std::wstring>& Lines() const { return FLines; }
    void SetLines(const std::vector<std::wstring>& lines);
    // Appends a line; returns its index.
    int Add(const std::wstring& line);
    void Clear() { SetLines({}); }

    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

private:
    std::vector<std::wstring> FLines;
};
