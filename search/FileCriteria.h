#pragma once
// Which names to look for and where: name masks, folders, extra inclusions and exclusions, depth.
#include <cstdint>
#include <string>
#include <vector>

#include "search/Criteria.h"

class TFileCriteria : public TCriteria {
public:
    CLARIVO_CRITERIA_CLASS(TFileCriteria)

    std::wstring FileName;   // name masks separated by ";"
    std::wstring Location;   // folders separated by ";"; a leading "<" or ">" switches descent off or on
    std::vector<std::wstring> Included;   // each a folder and a mask ("C:\Logs\*.log")
    std::vector<std::wstring> Excluded;   // patterns: a name mask, a folder tail, or both
    bool Subfolders = true;
    uint16_t MinLevel = 0;   // 0 or 1: from the target folder itself; 2: one level down, ...
    uint16_t MaxLevel = 0;   // 0: no limit; 1: the target folder only; 2: and its subfolders, ...
};
