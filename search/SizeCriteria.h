#pragma once
// Size bounds in bytes, both inclusive; 0 sets no bound. Sizes are 64-bit so files of 4 GiB and more
// compare truthfully.
#include <cstdint>

#include "search/Criteria.h"

class TSizeCriteria : public TCriteria {
public:
    CLARIVO_CRITERIA_CLASS(TSizeCriteria)

    uint64_t Min = 0;
    uint64_t Max = 0;

    bool Matches(uint64_t size) const { return (Min == 0 || size >= Min) && (Max == 0 || size <= Max); }
};
