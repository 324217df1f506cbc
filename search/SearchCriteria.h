#pragma once
// Everything a search asks of an entry. Assigning to one of the five parts copies the given values
// into the part this object owns.
#include "search/AttributeCriteria.h"
#include "search/ContentCriteria.h"
#include "search/DateTimeCriteria.h"
#include "search/FileCriteria.h"
#include "search/SizeCriteria.h"

class TSearchCriteria : public TCriteria {
public:
    CLARIVO_CRITERIA_CLASS(TSearchCriteria)

    TFileCriteria Files;
    TAttributeCriteria Attribute;
    TDateTimeCriteria TimeStamp;
    TSizeCriteria Size;
    TContentCriteria Content;
};
