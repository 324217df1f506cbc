#include "search/Paths.h"

#include <windows.h>

#include <algorithm>

namespace {

size_t NameStart(std::wstring_view path) {
    const size_t last = path.find_last_of(L"\\:");
    return last == std::wstring_view::npos ? 0 : last + 1;
}

bool IsExtended(std::wstring_view path) { return path.starts_with(L"\\\\?\\"); }

bool IsDrivePath(std::wstring_view path) {
    return path.size() >= 3 && path[1] == L':' && path[2] == L'\\' &&
           ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
}

bool IsNetworkPath(std::wstring_view path) {
    return path.size() > 2 && path.starts_with(L"\\\\") && path[2] != L'?' && path[2] != L'.' && path[2] != L'\\';
}

// Absolute, and nothing in it that the system's resolving would change but trailing dots and spaces.
bool IsPlainAbsolute(std::wstring_view path) {
    if (!IsDrivePath(path) && !IsNetworkPath(path)) return false;
    if (path.find(L'/') != std::wstring_view::npos) return false;
    for (size_t start = IsDrivePath(path) ? 3 : 2; start < path.size();) {
        size_t end = std::min(path.find(L'\\', start), path.size());
        const std::wstring_view step = path.substr(start, end - start);
        if (step.empty() && end < path.size()) return false;  // a doubled separator
        if (step == L"." || step == L"..") return false;
        start = end + 1;
    }
    return true;
}

std::wstring FullPathName(const std::wstring& path) {
    std::wstring out(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(out.size()), out.data(), nullptr);
        if (length == 0) return path;
        if (length < out.size()) {
            out.resize(length);
            return out;
        }
        out.resize(length);
    }
}

}  // namespace

std::wstring ExtendedPath(std::wstring_view path) {
    if (IsDrivePath(path)) return L"\\\\?\\" + std::wstring(path);
    if (IsNetworkPath(path)) return L"\\\\?\\UNC\\" + std::wstring(path.substr(2));
    return std::wstring(path);
}

std::wstring NormalPath(std::wstring_view path) {
    if (path.starts_with(L"\\\\?\\UNC\\")) return L"\\\\" + std::wstring(path.substr(8));
    if (IsExtended(path) && IsDrivePath(path.substr(4))) return std::wstring(path.substr(4));
    return std::wstring(path);
}

bool IsAbsolutePath(std::wstring_view path) { return IsExtended(path) || IsDrivePath(path) || IsNetworkPath(path); }

bool PlainPathIsExact(const std::wstring& path) {
    return path.size() < MAX_PATH && IsPlainAbsolute(path) && FullPathName(path) == path;
}

std::wstring AbsolutePath(const std::wstring& path) {
    if (IsExtended(path) || IsPlainAbsolute(path)) return path;
    return FullPathName(path.empty() ? L"." : path);
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
