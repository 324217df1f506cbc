#pragma once
// Which attribute bits an entry must have, held as the platform mask.
#include "search/Criteria.h"
#include "search/SearchRec.h"

class TAttributeCriteria : public TCriteria {
public:
    CLARIVO_CRITERIA_CLASS(TAttributeCriteria)

    TFileAttributes Attributes() const { return TFileAttributes::FromMask(FMask); }
    void SetAttributes(TFileAttributes value) { FMask = value.ToMask(); }
    DWORD Mask() const { return FMask; }

    // Exact: the entry's five bits equal the set. Otherwise: the entry has no bit outside the set.
    bool ExactMatch = false;

    bool Matches(DWORD attr) const {
        const DWORD a = attr & kSearchAttributeMask;
        return ExactMatch ? a == FMask : (a & ~FMask) == 0;
    }

private:
    DWORD FMask = TFileAttributes{ffArchive, ffReadonly, ffHidden, ffSystem}.ToMask();
};
