#pragma once
// A search prepared from criteria: the folders to walk and copies of the entry criteria, so that
// criteria changed during a run do not affect it.
#include <atomic>
#include <string>
#include <string_view>
#include <vector>

#include "search/SearchCriteria.h"
#include "search/SearchRec.h"
#include "search/TargetFolderList.h"

class TTargetSearch {
public:
    explicit TTargetSearch(const TSearchCriteria& criteria);

    TTargetFolderList TargetFolders;
    TAttributeCriteria Attribute;
    TDateTimeCriteria TimeStamp;
    TSizeCriteria Size;
    TContentCriteria Content;

    // Attributes, size, times, exclusions, then content (the only test that opens the file). Once *abort
    // is set a content scan under way stops and does not accept.
    bool Accepts(const std::wstring& folder, const TSearchRec& info, const std::atomic<bool>* abort = nullptr) const;

private:
    void BuildTargets(const TFileCriteria& files);
};

// The pieces of a ";"-separated list, trimmed, without empty ones and without repeats (ignoring case).
std::vector<std::wstring> SplitList(std::wstring_view text);

// Takes a leading "<" (no descent) or ">" (descent) off entry; returns the flag, defaultFlag without one.
bool TakeSubfolderPrefix(std::wstring& entry, bool defaultFlag);
