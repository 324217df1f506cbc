#pragma once
// A temporary folder tree for the tests: entries are made with the attributes given and the whole tree
// is removed (attributes cleared first) when the fixture goes.
#include <windows.h>

#include <cstdint>
#include <string>

class TFileFixture {
public:
    // The tree goes into parent (ending in a backslash), or into the temporary folder when none is given.
    explicit TFileFixture(const std::wstring& parent = {});
    ~TFileFixture();
    TFileFixture(const TFileFixture&) = delete;
    TFileFixture& operator=(const TFileFixture&) = delete;

    // The root folder, ending in a backslash.
    const std::wstring& Root() const { return FRoot; }
    std::wstring Path(const std::wstring& relative) const { return FRoot + relative; }

    void Folder(const std::wstring& relative, DWORD attr = 0);
    void File(const std::wstring& relative, DWORD attr = 0, uint64_t size = 0);
    DWORD Attributes(const std::wstring& relative) const;
    bool Exists(const std::wstring& relative) const;

private:
    std::wstring FRoot;
};

constexpr DWORD HiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
