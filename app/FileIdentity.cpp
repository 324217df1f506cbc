#include "app/FileIdentity.h"

#include "base/NtFile.h"
#include "base/StrUtils.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstddef>
#include <cstring>
#include <vector>

bool TFileIdentity::Known() const {
    return std::any_of(Id.begin(), Id.end(), [](uint8_t octet) { return octet != 0; });
}

TFileIdentity TFileIdentity::OfNumber(uint64_t volume, uint64_t number) {
    TFileIdentity identity;
    identity.Volume = volume;
    for (size_t i = 0; i < 8; ++i) identity.Id[i] = static_cast<uint8_t>(number >> (8 * i));
    return identity;
}

std::string TFileIdentity::Text() const {
    std::string text = Format("%016llX:", static_cast<unsigned long long>(Volume));
    for (auto octet = Id.rbegin(); octet != Id.rend(); ++octet) text += Format("%02X", *octet);
    return text;
}

bool TFileIdentity::Parse(std::string_view text, TFileIdentity& identity) {
    if (text.size() != 16 + 1 + 32 || text[16] != ':') return false;
    auto hex = [](std::string_view digits, auto& value) {
        if (!std::all_of(digits.begin(), digits.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }))
            return false;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
        return error == std::errc{} && end == digits.data() + digits.size();
    };
    TFileIdentity parsed;
    if (!hex(text.substr(0, 16), parsed.Volume)) return false;
    for (size_t i = 0; i < parsed.Id.size(); ++i) {
        unsigned octet = 0;
        if (!hex(text.substr(17 + 2 * i, 2), octet)) return false;
        parsed.Id[parsed.Id.size() - 1 - i] = static_cast<uint8_t>(octet);
    }
    identity = parsed;
    return true;
}

namespace {

// The long form of a file number (Windows 8 on), declared here as the program is built for Windows 7.
struct TFileIdInfo {
    ULONGLONG VolumeSerialNumber;
    BYTE Identifier[16];
};
constexpr auto FileIdInfoClass = static_cast<FILE_INFO_BY_HANDLE_CLASS>(18);

}  // namespace

TVolume VolumeOf(HANDLE handle) {
    TVolume volume;
    DWORD serial = 0;
    wchar_t fileSystem[MAX_PATH + 1] = {};
    if (!GetVolumeInformationByHandleW(handle, nullptr, 0, &serial, nullptr, nullptr, fileSystem, MAX_PATH + 1)) return volume;
    volume.Serial = serial;
    volume.LongNumbers = std::wstring_view(fileSystem) == L"ReFS";
    volume.Known = true;
    return volume;
}

TFileIdentity IdentityOf(HANDLE handle, const TVolume& volume) {
    TFileIdentity identity;
    if (!volume.Known) return identity;
    identity.Volume = volume.Serial;
    if (volume.LongNumbers) {
        TFileIdInfo id{};
        if (!GetFileInformationByHandleEx(handle, FileIdInfoClass, &id, sizeof id)) return {};
        static_assert(sizeof id.Identifier == sizeof identity.Id);
        std::memcpy(identity.Id.data(), id.Identifier, identity.Id.size());
        return identity;
    }
    // Every other file system numbers its files in 64 bits: the number the system gives without going
    // to the volume again.
    IO_STATUS_BLOCK io{};
    uint64_t number = 0;
    if (!NT_SUCCESS(NtQueryInformationFile(handle, &io, &number, sizeof number, FileInternalInformationClass))) return {};
    return TFileIdentity::OfNumber(volume.Serial, number);
}

DWORD ErrorOfStatus(NTSTATUS status) { return RtlNtStatusToDosError(status); }

namespace {

// A name as the system's counted string; false for one too long to be any entry's name.
bool CountedName(std::wstring_view name, UNICODE_STRING& counted) {
    if (name.empty() || name.size() * sizeof(wchar_t) > 0xFFFE) return false;
    counted.Buffer = const_cast<PWSTR>(name.data());
    counted.Length = counted.MaximumLength = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    return true;
}

}  // namespace

UniqueFileHandle OpenEntry(HANDLE folder, std::wstring_view name, ACCESS_MASK access, ULONG share, NTSTATUS& status,
                           TEntryKind kind, TEntryDisposition disposition, PSECURITY_DESCRIPTOR security) {
    UNICODE_STRING counted{};
    if (!CountedName(name, counted) || name.find(L'\\') != std::wstring_view::npos) {
        status = StatusObjectNameInvalid;
        return {};
    }
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &counted, OBJ_CASE_INSENSITIVE, folder, security);
    // Synchronous, so that the handle reads and lists like one from CreateFileW; for backup, so that
    // an administrator's backup right is used where the user has it (as FILE_FLAG_BACKUP_SEMANTICS).
    ULONG options = FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT | FILE_OPEN_FOR_BACKUP_INTENT;
    if (kind == TEntryKind::Folder) options |= FILE_DIRECTORY_FILE;
    if (kind == TEntryKind::File) options |= FILE_NON_DIRECTORY_FILE;
    IO_STATUS_BLOCK io{};
    HANDLE handle = nullptr;
    status = NtCreateFile(&handle, access | SYNCHRONIZE, &attributes, &io, nullptr, FILE_ATTRIBUTE_NORMAL, share,
                          disposition == TEntryDisposition::Existing ? FILE_OPEN : FILE_OPEN_IF, options, nullptr, 0);
    return NT_SUCCESS(status) ? UniqueFileHandle(handle) : UniqueFileHandle();
}

DWORD ListedAttributes(HANDLE folder, std::wstring_view name) {
    UNICODE_STRING counted{};
    if (!CountedName(name, counted)) return INVALID_FILE_ATTRIBUTES;
    // A listing takes its name pattern on its first call only: it gets a handle of its own, the same
    // folder opened again through the one held.
    UNICODE_STRING none{};
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &none, 0, folder, nullptr);
    IO_STATUS_BLOCK io{};
    HANDLE raw = nullptr;
    if (!NT_SUCCESS(NtCreateFile(&raw, FILE_LIST_DIRECTORY | SYNCHRONIZE, &attributes, &io, nullptr, 0,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, FILE_OPEN,
                                 FILE_DIRECTORY_FILE | FILE_SYNCHRONOUS_IO_NONALERT | FILE_OPEN_FOR_BACKUP_INTENT, nullptr, 0)))
        return INVALID_FILE_ATTRIBUTES;
    const UniqueKernelHandle listing(raw);
    alignas(8) BYTE buffer[sizeof(TIdFullDirectoryInformation) + 512 * sizeof(WCHAR)];
    if (!NT_SUCCESS(NtQueryDirectoryFile(listing.get(), nullptr, nullptr, nullptr, &io, buffer, sizeof buffer,
                                         FileIdFullDirectoryInformationClass, TRUE, &counted, TRUE)))
        return INVALID_FILE_ATTRIBUTES;
    const auto* entry = reinterpret_cast<const TIdFullDirectoryInformation*>(buffer);
    // The pattern has no wildcards, but the listing matches it without regard to case: the same name.
    return entry->FileNameLength == counted.Length ? entry->FileAttributes : INVALID_FILE_ATTRIBUTES;
}

bool IsNoSuchEntry(NTSTATUS status) {
    return status == StatusObjectNameNotFound || status == StatusObjectPathNotFound;
}

bool RenameEntry(HANDLE handle, HANDLE folder, std::wstring_view name) {
    UNICODE_STRING counted{};
    if (!CountedName(name, counted)) {
        SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    std::vector<BYTE> buffer(std::max(sizeof(TRenameInformation), offsetof(TRenameInformation, FileName) + counted.Length));
    auto* rename = reinterpret_cast<TRenameInformation*>(buffer.data());
    rename->ReplaceIfExists = FALSE;
    rename->RootDirectory = folder;
    rename->FileNameLength = counted.Length;
    std::memcpy(rename->FileName, name.data(), counted.Length);
    IO_STATUS_BLOCK io{};
    const NTSTATUS status =
        NtSetInformationFile(handle, &io, buffer.data(), static_cast<ULONG>(buffer.size()), FileRenameInformationClass);
    if (NT_SUCCESS(status)) return true;
    SetLastError(ErrorOfStatus(status));
    return false;
}
