#include "search/Paths.h"

#include <algorithm>

namespace {
// Below this length every call takes the plain form, even with a "\*" appended or as a folder to create.
constexpr size_t kPlainPathLimit = 240;

size_t NameStart(std::wstring_view path) {
    const size_t last = path.find_last_of(L"\\:");
    return last == std::wstring_view::npos ? 0 : last + 1;
}
}  // namespace

std::wstring ExtendedPath(std::wstring_view path) {
    if (path.size() < kPlainPathLimit || path.starts_with(L"\\\\?\\")) return std::wstring(path);
    if (path.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + std::wstring(path.substr(2));
    return L"\\\\?\\" + std::wstring(path);
}

std::wstring IncludeFolderDelimiter(std::wstring path) {
    if (!path.empty() && path.back() != L'\\' && path.back() != L':') path += L'\\';
    return path;
}

std::wstring_view FolderPart(std::wstring_view path) { return path.substr(0, NameStart(path)); }

std::wstring_view NamePart(std::wstring_view path) { return path.substr(NameStart(path)); }

std::wstring_view DrivePart(std::wstring_view path) {
    if (path.size() >= 2 && path[1] == L':') return path.substr(0, 2);
    if (!path.starts_with(L"\\\\")) return {};
    // \\server\share: up to, not including, the backslash that ends the share name.
    const size_t server = path.find(L'\\', 2);
    if (server == std::wstring_view::npos) return path;
    return path.substr(0, std::min(path.find(L'\\', server + 1), path.size()));
}
