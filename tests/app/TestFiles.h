#pragma once
// Files for the app tests: a journal of the test's own in a temporary folder (never the user's), and
// whole files read and written as bytes, at paths in any script.
#include "TempTree.h"
#include "app/Journal.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

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
