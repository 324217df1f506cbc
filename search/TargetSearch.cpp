#include "search/TargetSearch.h"

#include <algorithm>

#include "base/FileName.h"
#include "base/StrUtils.h"
#include "search/Masks.h"
#include "search/Paths.h"

std::vector<std::wstring> SplitList(std::wstring_view text) {
    std::vector<std::wstring> pieces;
    for (size_t start = 0; start <= text.size();) {
        size_t end = text.find(L';', start);
        if (end == std::wstring_view::npos) end = text.size();
        std::wstring piece = Trim(text.substr(start, end - start));
        if (!piece.empty() &&
            std::none_of(pieces.begin(), pieces.end(), [&](const std::wstring& p) { return SameFileName(p, piece); }))
            pieces.push_back(std::move(piece));
        start = end + 1;
    }
    return pieces;
}

bool TakeSubfolderPrefix(std::wstring& entry, bool defaultFlag) {
    if (entry.empty() || (entry[0] != L'<' && entry[0] != L'>')) return defaultFlag;
    const bool flag = entry[0] == L'>';
    entry.erase(0, 1);
    return flag;
}

TTargetSearch::TTargetSearch(const TSearchCriteria& criteria)
    : Attribute(criteria.Attribute), TimeStamp(criteria.TimeStamp), Size(criteria.Size), Content(criteria.Content) {
    BuildTargets(criteria.Files);
    // Folders have no content to search.
    if (Content.PhraseLength() > 0) {
        TFileAttributes set = Attribute.Attributes();
        Attribute.SetAttributes(TFileAttributes::FromMask(set.ToMask() & ~DWORD{FILE_ATTRIBUTE_DIRECTORY}));
    }
}

void TTargetSearch::BuildTargets(const TFileCriteria& files) {
    TargetFolders.ExcludedFiles = files.Excluded;
    auto addTarget = [&](std::wstring entry, bool fromLocation, const std::vector<std::wstring>& masks) {
        const bool subfolders = TakeSubfolderPrefix(entry, files.Subfolders);
        TTargetFolder& folder =
            TargetFolders.AddFolder(fromLocation ? entry : std::wstring(FolderPart(entry)));
        if (fromLocation)
            folder.FileMasks.insert(folder.FileMasks.end(), masks.begin(), masks.end());
        else
            folder.FileMasks.emplace_back(NamePart(entry));
        folder.Subfolders = subfolders;
        folder.MinLevel = files.MinLevel;
        folder.MaxLevel = files.MaxLevel;
    };
    for (const std::wstring& line : files.Included) addTarget(line, false, {});
    const std::vector<std::wstring> names = SplitList(files.FileName);
    for (const std::wstring& location : SplitList(files.Location)) addTarget(location, true, names);
}

bool TTargetSearch::Accepts(const std::wstring& folder, const TSearchRec& info, const std::atomic<bool>* abort) const {
    return Attribute.Matches(info.Attr) && Size.Matches(info.Size64()) &&
           TimeStamp.Matches(info.FindData.ftCreationTime, info.FindData.ftLastWriteTime,
                             info.FindData.ftLastAccessTime) &&
           !TargetFolders.IsExcluded(folder, info.Name) &&
           (Content.PhraseLength() == 0 || Content.Matches(folder + info.Name, abort));  // no path made for nothing
}
