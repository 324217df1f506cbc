#pragma once
// Files for the app tests: objects as a search would list them, a journal of the test's own in a
// temporary folder (never the user's), and whole files read and written as bytes, at paths in any script.
#include "TempTree.h"
#include "app/FileActions.h"
#include "app/Journal.h"
#include "search/Paths.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

constexpr DWORD HiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// An object as a search of the folder root (relative to fx's root; fx's root itself when empty) would
// list it now: with its attributes, and with its own identity and the folder's.
inline TListedObject Listed(const TTempTree& fx, const std::wstring& relative, const std::wstring& root = {}) {
    TListedObject object;
    const std::wstring searched = fx.Path(root.empty() ? root : root + L"\\");
    object.Path = searched + relative;
    object.Attributes = GetFileAttributesW(ExtendedPath(object.Path).c_str());
    object.RootLength = searched.size();
    IdentifyListed(object, IdentifySearchedFolder(searched), 0);
    return object;
}

struct TTestJournal {
    TTempTree Folder;
    TJournal Journal{Folder.Path(L"journal.tsv")};
    std::wstring Path() const { return Folder.Path(L"journal.tsv"); }
};

inline std::string FileBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    out << bytes;
}
