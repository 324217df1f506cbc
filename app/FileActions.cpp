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
// Bits the file system keeps itself (kind, storage, cloud recall): never given when attributes are set.
constexpr DWORD KeptBySystem = KindBits | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_SPARSE_FILE |
                               FILE_ATTRIBUTE_COMPRESSED | FILE_ATTRIBUTE_ENCRYPTED | 0x00008000 /* integrity stream */ |
                               0x00010000 /* virtual */ | 0x00040000 /* recall on open */ |
                               0x00400000 /* recall on data access */ | 0x20000000 /* strictly sequential */;
// Bits that say nothing about a change of attributes: every write sets the archive bit, and "normal" is
// only how no bits at all are reported.
constexpr DWORD Incidental = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL;
// The bits a restore compares: those a person or a program would change.
constexpr DWORD Compared = FILE_ATTRIBUTE_READONLY | HiddenSystem | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE |
                           FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Folders are held with list access and without sharing delete: a handle with no data access is left
// out of the sharing check, and one that shares delete lets the folder be renamed under it.
constexpr ACCESS_MASK FolderAccess = FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES;
constexpr ULONG HoldShare = FILE_SHARE_READ | FILE_SHARE_WRITE;

// Asked of the handle alone: the system's own summary (GetFileInformationByHandle) asks the volume too,
// which can take long.
DWORD HandleAttributes(HANDLE handle) {
    FILE_BASIC_INFO info;
    return GetFileInformationByHandleEx(handle, FileBasicInfo, &info, sizeof info) ? info.FileAttributes
                                                                                    : INVALID_FILE_ATTRIBUTES;
}

// The searched folder by its path, as the walk opens it (a link there is followed: it is the folder the
// walk listed that counts, and its identity tells whether this is still it).
UniqueFileHandle OpenSearchedFolder(const std::wstring& folder) {
    return UniqueFileHandle(CreateFileW(ExtendedPath(folder).c_str(), FolderAccess, HoldShare, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

TActionResult ResultOfStatus(NTSTATUS status) {
    if (IsNoSuchEntry(status) || status == StatusNotADirectory) return TActionResult::Changed;
    if (status == StatusDeletePending) return TActionResult::InUse;  // it goes when another program lets go of it
    return ResultOfError(ErrorOfStatus(status));
}

}  // namespace

TActionResult ResultOfError(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND: return TActionResult::Changed;
        case ERROR_ACCESS_DENIED: return TActionResult::Denied;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_USER_MAPPED_FILE: return TActionResult::InUse;
        case ERROR_DIR_NOT_EMPTY: return TActionResult::NotEmpty;
        default: return TActionResult::Failed;
    }
}

bool TActionCounts::Add(TActionResult result) {
    ++Of[static_cast<std::size_t>(result)];
    return result == TActionResult::Done;
}

int TActionCounts::Left() const {
    int left = 0;
    for (std::size_t i = 0; i < Of.size(); ++i)
        if (i != static_cast<std::size_t>(TActionResult::Done)) left += Of[i];
    return left;
}

std::size_t TListedObject::Depth() const { return static_cast<std::size_t>(std::count(Path.begin(), Path.end(), L'\\')); }

TSearchedFolder IdentifySearchedFolder(const std::wstring& folder) {
    const UniqueFileHandle handle = OpenSearchedFolder(folder);
    if (!handle) return {};
    TSearchedFolder searched;
    searched.Volume = VolumeOf(handle.get());
    searched.Identity = IdentityOf(handle.get(), searched.Volume);
    return searched;
}

bool IdentifyListed(TListedObject& object, const TSearchedFolder& searched, uint64_t listedNumber) {
    object.RootIdentity = searched.Identity;
    if (!searched.Volume.Known) return false;
    // The listing's number is the object's own, taken as it was listed, at no cost.
    if (listedNumber != 0 && !searched.Volume.LongNumbers) {
        object.Identity = TFileIdentity::OfNumber(searched.Volume.Serial, listedNumber);
        return true;
    }
    const UniqueFileHandle handle(CreateFileW(ExtendedPath(object.Path).c_str(), FILE_READ_ATTRIBUTES,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                              FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (handle) object.Identity = IdentityOf(handle.get(), searched.Volume);
    return object.Identity.Known();
}

TExpectedAttributes TExpectedAttributes::AsListed(const TListedObject& object) {
    return {KindBits | HiddenSystem, (object.Attributes & KindBits) | HiddenSystem};
}

TReachedObject::TReachedObject(const THeldFolder& searched, const TListedObject& object, ACCESS_MASK access,
                               TExpectedAttributes expected)
    : FSearched(searched.Handle.get()), FVolume(searched.Volume), FName(NamePart(object.Path)), FIdentity(object.Identity) {
    const std::wstring& path = object.Path;
    // Each folder below the searched one in the one above: the walk never entered a link, so a link
    // here now is new.
    const size_t nameStart = path.size() - FName.size();
    for (size_t at = object.RootLength; at < nameStart;) {
        const size_t end = path.find(L'\\', at);
        NTSTATUS status = 0;
        UniqueFileHandle next = OpenEntry(Folder(), std::wstring_view(path).substr(at, end - at), FolderAccess, HoldShare,
                                          status, TEntryKind::Folder);
        if (!next) {
            FResult = ResultOfStatus(status);
            return;
        }
        if ((HandleAttributes(next.get()) & KindBits) != FILE_ATTRIBUTE_DIRECTORY) return;
        FFolders.push_back(std::move(next));
        at = end + 1;
    }
    NTSTATUS status = 0;
    UniqueFileHandle handle = OpenEntry(Folder(), FName, access | FILE_READ_ATTRIBUTES, HoldShare, status);
    if (!handle) {
        FResult = ResultOfStatus(status);
        return;
    }
    FAttributes = HandleAttributes(handle.get());
    if (!expected.Matches(FAttributes) || IdentityOf(handle.get(), FVolume) != object.Identity) return;
    FObject = std::move(handle);
    FResult = TActionResult::Done;
}

uint32_t TReachedObject::Names() const {
    // Only files have names elsewhere; some platforms count a folder's subfolders as its links.
    if (FAttributes & KindBits) return 1;
    FILE_STANDARD_INFO standard;
    return FObject && GetFileInformationByHandleEx(FObject.get(), FileStandardInfo, &standard, sizeof standard)
               ? standard.NumberOfLinks
               : 0;
}

HANDLE TReachedObject::Folder() const { return FFolders.empty() ? FSearched : FFolders.back().get(); }

TActionResult TReachedObject::GoneFromFolder() const {
    if (!Folder()) return FResult;
    NTSTATUS status = 0;
    const UniqueFileHandle handle =
        OpenEntry(Folder(), FName, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, status);
    if (!handle) return IsNoSuchEntry(status) ? TActionResult::Done : ResultOfStatus(status);
    // Another object may have taken the name since.
    return IdentityOf(handle.get(), FVolume) != FIdentity ? TActionResult::Done : TActionResult::Failed;
}

std::wstring TReachedObject::CurrentPath() const {
    if (!Folder()) return {};
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleW(Folder(), path.data(), static_cast<DWORD>(path.size()),
                                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(length);
    }
    return IncludeFolderDelimiter(NormalPath(path)) + FName;
}

TReachedObject TObjectActions::Reach(const TListedObject& object, ACCESS_MASK access, TExpectedAttributes expected) {
    const std::wstring& path = object.Path;
    const size_t root = object.RootLength;
    // Without the identities it was listed with, nothing can tell whether this is still the object.
    if (!object.Identity.Known() || !object.RootIdentity.Known() || root == 0 || root >= path.size() ||
        path[root - 1] != L'\\' || NamePart(path).empty())
        return TReachedObject(TActionResult::Failed);
    const std::wstring_view folder = std::wstring_view(path).substr(0, root);
    auto searched = std::find_if(FSearched.begin(), FSearched.end(), [&](const TSearched& s) {
        return s.Identity == object.RootIdentity && s.Path == folder;
    });
    if (searched == FSearched.end()) {
        TSearched opened{std::wstring(folder), object.RootIdentity, {OpenSearchedFolder(std::wstring(folder)), {}},
                         TActionResult::Done};
        if (!opened.Held.Handle) {
            opened.Result = ResultOfError(GetLastError());
        } else {
            opened.Held.Volume = VolumeOf(opened.Held.Handle.get());
            // Another folder has its path now: nothing below it is what was listed.
            if (IdentityOf(opened.Held.Handle.get(), opened.Held.Volume) != object.RootIdentity) {
                opened.Held.Handle.reset();
                opened.Result = TActionResult::Changed;
            }
        }
        FSearched.push_back(std::move(opened));
        searched = std::prev(FSearched.end());
    }
    if (searched->Result != TActionResult::Done) return TReachedObject(searched->Result);
    return TReachedObject(searched->Held, object, access, expected);
}

TActionResult TObjectActions::Verify(const TListedObject& object) { return Reach(object, 0).Result(); }

std::vector<TActionResult> TObjectActions::SetHiddenSystem(const std::vector<TAttributeRequest>& block,
                                                           TChangeRecorder& recorder) {
    std::vector<TActionResult> results(block.size(), TActionResult::Changed);
    // Every object of the block reached and checked first, and held: the changes are then written down
    // at once, made through the handles, and their outcomes written down at once.
    std::vector<TReachedObject> reached;
    std::vector<size_t> changed;  // the block's index of each change
    std::vector<TAttributeChange> changes;
    for (size_t i = 0; i < block.size(); ++i) {
        const TAttributeRequest& request = block[i];
        TReachedObject object = Reach(*request.Object, FILE_WRITE_ATTRIBUTES, request.Expected);
        results[i] = object.Result();
        if (results[i] != TActionResult::Done) continue;
        if (request.AsksForOtherNames && !ActOnOtherNames && object.Names() > 1) {
            results[i] = TActionResult::OtherNames;
            continue;
        }
        const DWORD before = object.Attributes();
        changes.push_back({request.Object, before, (before & ~HiddenSystem) | (request.HiddenSystem & HiddenSystem)});
        changed.push_back(i);
        reached.push_back(std::move(object));
    }
    if (changes.empty()) return results;
    if (!recorder.Begin(changes)) {
        for (size_t i : changed) results[i] = TActionResult::Unrecorded;
        return results;
    }
    std::vector<TChangeOutcome> outcomes(changes.size());
    for (size_t c = 0; c < changes.size(); ++c) {
        const HANDLE handle = reached[c].Handle();
        FILE_BASIC_INFO basic{};  // times of 0 stay as they are
        const DWORD given = changes[c].After & ~KeptBySystem;
        basic.FileAttributes = given ? given : FILE_ATTRIBUTE_NORMAL;  // none left is said as "normal"
        const bool set = SetFileInformationByHandle(handle, FileBasicInfo, &basic, sizeof basic);
        const DWORD error = set ? ERROR_SUCCESS : GetLastError();
        const DWORD now = HandleAttributes(handle);
        // Nothing but hidden and system may have changed.
        outcomes[c] = {set && now != INVALID_FILE_ATTRIBUTES && ((now ^ changes[c].After) & ~Incidental) == 0, now};
        results[changed[c]] = outcomes[c].Done ? TActionResult::Done : set ? TActionResult::Failed : ResultOfError(error);
    }
    recorder.End(outcomes);
    return results;
}

std::vector<TActionResult> TObjectActions::Unhide(const std::vector<const TListedObject*>& objects, TChangeRecorder& recorder) {
    std::vector<TAttributeRequest> block;
    for (const TListedObject* object : objects) block.push_back({object, 0, TExpectedAttributes::AsListed(*object), true});
    return SetHiddenSystem(block, recorder);
}

TActionResult TObjectActions::Unhide(const TListedObject& object, TChangeRecorder& recorder) {
    return Unhide(std::vector<const TListedObject*>{&object}, recorder).front();
}

std::vector<TActionResult> TObjectActions::Restore(const std::vector<std::pair<const TListedObject*, DWORD>>& objects,
                                                   TChangeRecorder& recorder) {
    std::vector<TAttributeRequest> block;
    for (const auto& [object, hiddenSystem] : objects)
        block.push_back({object, hiddenSystem, {KindBits | Compared, object->Attributes & (KindBits | Compared)}, false});
    return SetHiddenSystem(block, recorder);
}

TActionResult TObjectActions::Restore(const TListedObject& object, DWORD hiddenSystem, TChangeRecorder& recorder) {
    return Restore({{&object, hiddenSystem}}, recorder).front();
}

TActionResult TObjectActions::Delete(const TListedObject& object) {
    TReachedObject reached = Reach(object, DELETE);
    if (reached.Result() != TActionResult::Done) return reached.Result();
    if (!ActOnOtherNames && reached.Names() > 1) return TActionResult::OtherNames;
    // Refused for a folder that is not empty and for a read-only file; a link goes as a link.
    FILE_DISPOSITION_INFO disposition{TRUE};
    if (!SetFileInformationByHandle(reached.Handle(), FileDispositionInfo, &disposition, sizeof disposition))
        return ResultOfError(GetLastError());
    reached.ReleaseObject();  // the name goes when the last handle to it closes
    return reached.GoneFromFolder();
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
