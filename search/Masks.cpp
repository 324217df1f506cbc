#include "search/Masks.h"

#include "base/FileName.h"
#include "search/Paths.h"

namespace {

// Base and extension of a name: the extension runs from the last dot of the name part, dot included.
std::pair<std::wstring_view, std::wstring_view> SplitExtension(std::wstring_view name) {
    const size_t start = name.size() - NamePart(name).size();
    const size_t dot = name.rfind(L'.');
    if (dot == std::wstring_view::npos || dot < start) return {name, {}};
    return {name.substr(0, dot), name.substr(dot)};
}

// "*" takes any run (backtracking to the last star on a mismatch), "?" any one character.
bool Glob(std::wstring_view name, std::wstring_view mask) {
    size_t n = 0, m = 0, star = std::wstring_view::npos, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == L'*') {
            star = m++;
            starName = n;
        } else if (m < mask.size() && (mask[m] == L'?' || SameFileNameChar(mask[m], name[n]))) {
            ++n;
            ++m;
        } else if (star != std::wstring_view::npos) {
            m = star + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == L'*') ++m;
    return m == mask.size();
}

}  // namespace

bool WildcardMatch(std::wstring_view text, std::wstring_view mask) {
    size_t i = 0;
    for (; i < text.size() && i < mask.size(); ++i) {
        if (mask[i] == L'*') return true;
        if (mask[i] != L'?' && !SameFileNameChar(mask[i], text[i])) return false;
    }
    if (i < text.size()) return false;
    while (i < mask.size() && (mask[i] == L'*' || mask[i] == L'?')) ++i;
    return i == mask.size();
}

bool FileNameMatch(std::wstring_view name, std::wstring_view mask) {
    const auto [nameBase, nameExt] = SplitExtension(name);
    const auto [maskBase, maskExt] = SplitExtension(mask);
    if (maskExt.empty()) return WildcardMatch(nameBase, maskBase);
    return WildcardMatch(nameExt.empty() ? L"." : nameExt, maskExt) && WildcardMatch(nameBase, maskBase);
}

bool DriveMatch(std::wstring_view folderDrive, std::wstring_view patternDrive) {
    if (patternDrive.starts_with(L"\\\\")) return WildcardMatch(folderDrive, patternDrive);
    if (!patternDrive.empty() && (patternDrive[0] == L'*' || patternDrive[0] == L'?')) return true;
    if (folderDrive.empty() || patternDrive.empty()) return false;
    return SameFileNameChar(folderDrive[0], patternDrive[0]);
}

bool ExclusionMatch(std::wstring_view folder, std::wstring_view name, std::wstring_view pattern) {
    std::wstring_view patternFolder = FolderPart(pattern);
    if (!patternFolder.empty()) {
        const std::wstring_view folderDrive = DrivePart(folder);
        const std::wstring_view patternDrive = DrivePart(patternFolder);
        if (!patternDrive.empty()) {
            if (!DriveMatch(folderDrive, patternDrive)) return false;
            patternFolder.remove_prefix(patternDrive.size());
        }
        if (!patternFolder.empty()) {
            const std::wstring_view rest = folder.substr(folderDrive.size());
            if (rest.size() < patternFolder.size()) return false;
            if (!SameFileName(rest.substr(rest.size() - patternFolder.size()), patternFolder)) return false;
        }
    }
    const std::wstring_view patternName = NamePart(pattern);
    return patternName.empty() || FileNameMatch(name, patternName);
}

bool MaskMatch(std::wstring_view name, std::wstring_view mask) {
    if (Glob(name, mask)) return true;
    return mask.ends_with(L".*") && name.find(L'.') == std::wstring_view::npos &&
           Glob(name, mask.substr(0, mask.size() - 2));
}
