#include "app/FileActions.h"

#include "base/WinHandle.h"
#include "search/Paths.h"

#include <winioctl.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr DWORD HiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
constexpr DWORD KindBits = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
// The attributes that can be set; none of them means "normal".
constexpr DWORD Settable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                           FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_OFFLINE |
                           FILE_ATTRIBUTE_TEMPORARY;
// Those a restore compares: all but the archive bit, which every write sets and every backup clears.
constexpr DWORD Compared = Settable & ~FILE_ATTRIBUTE_ARCHIVE;

// Opens the object itself: a link as the link, a folder as a folder. Sharing leaves out delete, so that
// while we hold it nobody can rename it or put something else in its place.
UniqueFileHandle OpenItself(const std::wstring& path, DWORD access) {
    return UniqueFileHandle(CreateFileW(ExtendedPath(path).c_str(), access | FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

DWORD HandleAttributes(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info;
    return GetFileInformationByHandle(handle, &info) ? info.dwFileAttributes : INVALID_FILE_ATTRIBUTES;
}

// What an object must still be: its attributes under Mask equal to Value.
struct TExpected {
    DWORD Mask = 0, Value = 0;
    bool Matches(DWORD attr) const { return attr != INVALID_FILE_ATTRIBUTES && (attr & Mask) == Value; }
};

// The object behind handle, opened at path, is as expected. Both the handle and the name are asked: a
// platform that opens a link's target although told not to follow it still shows the link by its name.
bool IsAsExpected(HANDLE handle, const std::wstring& path, TExpected expected) {
    return expected.Matches(HandleAttributes(handle)) && expected.Matches(GetFileAttributesW(ExtendedPath(path).c_str()));
}

uint64_t HandleFileId(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(handle, &info)) return 0;
    return (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
}

// The folders between the searched folder and the object, each held open and checked to be a real
// folder: the walk never went through a link, so a link there now was put in after the listing.
class TAncestors {
public:
    explicit TAncestors(const TListedObject& object) {
        const std::wstring& path = object.Path;
        const size_t parentEnd = path.find_last_of(L'\\');
        if (parentEnd == std::wstring::npos) return;
        // The drive or share itself is no folder to check.
        size_t at = std::max(object.RootLength, DrivePart(path).size() + 1);
        for (; (at = path.find(L'\\', at)) != std::wstring::npos && at <= parentEnd; ++at) {
            const std::wstring folder = path.substr(0, at);
            UniqueFileHandle handle = OpenItself(folder, 0);
            if (!handle || !IsAsExpected(handle.get(), folder, {KindBits, FILE_ATTRIBUTE_DIRECTORY})) return;
            FHeld.push_back(std::move(handle));
        }
        FSound = true;
    }
    bool Sound() const { return FSound; }

private:
    std::vector<UniqueFileHandle> FHeld;
    bool FSound = false;
};

// The object, opened for access, if it is still the one listed and as expected (by default: of its
// kind, with hidden and system set); the result says why not otherwise.
UniqueFileHandle OpenListed(const TListedObject& object, DWORD access, TActionResult& result,
                            TExpected expected = {}) {
    if (expected.Mask == 0) expected = {KindBits | HiddenSystem, (object.Attributes & KindBits) | HiddenSystem};
    result = TActionResult::Changed;
    const TAncestors ancestors(object);
    if (!ancestors.Sound()) return {};
    UniqueFileHandle handle = OpenItself(object.Path, access);
    if (!handle) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) result = TActionResult::Failed;
        return {};
    }
    if (!IsAsExpected(handle.get(), object.Path, expected)) return {};
    if (object.FileId != 0 && HandleFileId(handle.get()) != object.FileId) return {};
    result = TActionResult::Done;
    return handle;
}

// Sets the attributes through the handle, written down first, and checks that hidden and system are
// then as asked.
TActionResult SetAttributesRecorded(const TListedObject& object, HANDLE handle, DWORD attributes,
                                    TChangeRecorder& recorder) {
    const DWORD before = HandleAttributes(handle);
    const DWORD wanted = attributes & Settable;
    if (!recorder.Begin({object.Path, object.RootLength, before, wanted | (before & KindBits), HandleFileId(handle)}))
        return TActionResult::Unrecorded;
    FILE_BASIC_INFO basic{};  // times of 0 stay as they are
    basic.FileAttributes = wanted ? wanted : FILE_ATTRIBUTE_NORMAL;  // none left means "normal"
    const bool set = SetFileInformationByHandle(handle, FileBasicInfo, &basic, sizeof basic);
    const DWORD now = HandleAttributes(handle);
    const bool done = set && now != INVALID_FILE_ATTRIBUTES && (now & HiddenSystem) == (wanted & HiddenSystem);
    recorder.End(done, now);
    return done ? TActionResult::Done : TActionResult::Failed;
}

}  // namespace

bool TActionCounts::Add(TActionResult result) {
    switch (result) {
        case TActionResult::Done: ++Done; return true;
        case TActionResult::Changed: ++Changed; break;
        case TActionResult::Failed: ++Failed; break;
        case TActionResult::Unrecorded: ++Unrecorded; break;
    }
    return false;
}

std::size_t TListedObject::Depth() const { return static_cast<std::size_t>(std::count(Path.begin(), Path.end(), L'\\')); }

TActionResult VerifyListedObject(const TListedObject& object) {
    TActionResult result;
    OpenListed(object, 0, result);
    return result;
}

TActionResult UnhideListedObject(const TListedObject& object, TChangeRecorder& recorder) {
    TActionResult result;
    const UniqueFileHandle handle = OpenListed(object, FILE_WRITE_ATTRIBUTES, result);
    if (!handle) return result;
    return SetAttributesRecorded(object, handle.get(), HandleAttributes(handle.get()) & ~HiddenSystem, recorder);
}

TActionResult RestoreListedObject(const TListedObject& object, DWORD attributes, TChangeRecorder& recorder) {
    TActionResult result;
    const UniqueFileHandle handle =
        OpenListed(object, FILE_WRITE_ATTRIBUTES, result, {KindBits | Compared, object.Attributes & (KindBits | Compared)});
    if (!handle) return result;
    return SetAttributesRecorded(object, handle.get(), attributes, recorder);
}

TActionResult DeleteListedObject(const TListedObject& object) {
    TActionResult result;
    {
        const UniqueFileHandle handle = OpenListed(object, DELETE, result);
        if (!handle) return result;
        // Refused for a folder that is not empty and for a read-only file; a link goes as a link.
        FILE_DISPOSITION_INFO disposition{TRUE};
        if (!SetFileInformationByHandle(handle.get(), FileDispositionInfo, &disposition, sizeof disposition))
            return TActionResult::Failed;
    }
    // Closed: the name is gone now (or waits only for other holders to let go of it).
    return GetFileAttributesW(ExtendedPath(object.Path).c_str()) == INVALID_FILE_ATTRIBUTES ? TActionResult::Done
                                                                                            : TActionResult::Failed;
}

std::wstring LinkTarget(const std::wstring& path) {
    const UniqueFileHandle handle(CreateFileW(ExtendedPath(path).c_str(), FILE_READ_ATTRIBUTES,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS,
                                              nullptr));
    if (!handle) return {};
    std::vector<BYTE> data(MAXIMUM_REPARSE_DATA_BUFFER_SIZE);
    DWORD size = 0;
    if (!DeviceIoControl(handle.get(), FSCTL_GET_REPARSE_POINT, nullptr, 0, data.data(), static_cast<DWORD>(data.size()),
                         &size, nullptr))
        return {};
    // Tag, data length and a reserved word; then the name offsets and lengths (a symbolic link adds a
    // flags word before its names).
    auto word = [&](size_t at) {
        USHORT value;
        std::memcpy(&value, &data[at], sizeof value);
        return size_t{value};
    };
    if (size < 16) return {};
    DWORD tag;
    std::memcpy(&tag, data.data(), sizeof tag);
    size_t names;
    if (tag == IO_REPARSE_TAG_MOUNT_POINT)
        names = 16;
    else if (tag == IO_REPARSE_TAG_SYMLINK)
        names = 20;
    else
        return {};
    auto name = [&](size_t offset, size_t length) -> std::wstring {
        if (length % 2 || names + offset + length > size) return {};
        std::wstring text(length / 2, L'\0');
        std::memcpy(text.data(), &data[names + offset], length);
        return text;
    };
    std::wstring target = name(word(12), word(14));  // the name meant for people
    if (target.empty()) {
        target = name(word(8), word(10));
        if (target.starts_with(L"\\??\\")) target.erase(0, 4);
    }
    return target;
}
