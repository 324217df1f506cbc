#define _CRT_RAND_S  // rand_s: the system's own random numbers
#include "app/Journal.h"

#include "base/StrUtils.h"
#include "base/UniqueHandle.h"
#include "search/Paths.h"

#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <string_view>

namespace {

constexpr std::string_view Header = "Clarivo journal\t2";
// Every file that starts like this is some version of the journal.
constexpr std::string_view HeaderStem = "Clarivo journal\t";

constexpr DWORD HiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
// How many changes an undo writes down at once.
constexpr size_t UndoBlock = 64;

using UniqueCoTaskString = UniqueHandle<NullHandleTraits<PWSTR, CoTaskMemFree>>;
using UniqueLocalMemory = UniqueHandle<NullHandleTraits<HLOCAL, LocalFree>>;

}  // namespace

uint32_t JournalChecksum(std::string_view data) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char octet : data) {
        crc ^= octet;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

namespace {

std::string Hex(uint64_t value, int digits) { return Format("%0*llX", digits, static_cast<unsigned long long>(value)); }

// The path with '%', control characters, U+FFFD and unpaired surrogates spelled out, so that the line
// stays one line of valid UTF-8 and the name comes back exactly.
std::string EscapePath(std::wstring_view path) {
    std::wstring text;
    for (size_t i = 0; i < path.size(); ++i) {
        const wchar_t ch = path[i];
        const bool high = ch >= 0xD800 && ch <= 0xDBFF, low = ch >= 0xDC00 && ch <= 0xDFFF;
        if (high && i + 1 < path.size() && path[i + 1] >= 0xDC00 && path[i + 1] <= 0xDFFF) {
            text += ch;
            text += path[++i];
        } else if (high || low || ch == 0xFFFD) {  // U+FFFD too: the reader takes a bare one for bad UTF-8
            text += FormatW(L"%%u%04X", static_cast<unsigned>(ch));
        } else if (ch < 0x20 || ch == L'%' || ch == 0x7F) {
            text += FormatW(L"%%%02X", static_cast<unsigned>(ch));
        } else {
            text += ch;
        }
    }
    return WideToUtf8(text);
}

bool ParseHex(std::string_view text, uint64_t& value) {
    if (text.empty() || text.size() > 16) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    return error == std::errc{} && end == text.data() + text.size();
}

bool ParseNumber(std::string_view text, uint64_t& value) {
    if (text.empty()) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size();
}

bool UnescapePath(std::string_view text, std::wstring& path) {
    const std::wstring wide = Utf8ToWide(text);
    path.clear();
    for (size_t i = 0; i < wide.size(); ++i) {
        if (wide[i] == 0xFFFD) return false;  // the line was not valid UTF-8: the writer never writes that
        if (wide[i] != L'%') {
            path += wide[i];
            continue;
        }
        const bool unit = i + 1 < wide.size() && wide[i + 1] == L'u';
        const size_t digits = unit ? 4 : 2, from = i + (unit ? 2 : 1);
        if (from + digits > wide.size()) return false;
        uint64_t value = 0;
        if (!ParseHex(WideToUtf8(wide.substr(from, digits)), value)) return false;
        path += static_cast<wchar_t>(value);
        i = from + digits - 1;
    }
    return !path.empty();
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (size_t start = 0;;) {
        const size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

std::string UtcNow() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    return Format("%04u-%02u-%02uT%02u:%02u:%02u.%03uZ", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
                  now.wSecond, now.wMilliseconds);
}

// Reads what is left of the file from where handle stands; false when it cannot be read.
bool ReadRest(HANDLE file, std::string& data) {
    data.clear();
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || size.QuadPart < 0 || size.QuadPart > (1LL << 30)) return false;
    data.resize(static_cast<size_t>(size.QuadPart));
    size_t at = 0;
    while (at < data.size()) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<size_t>(data.size() - at, 1u << 20));
        if (!ReadFile(file, data.data() + at, want, &got, nullptr)) return false;
        if (got == 0) break;
        at += got;
    }
    data.resize(at);
    return true;
}

uint64_t RandomBatch() {
    for (;;) {
        unsigned high = 0, low = 0;
        if (rand_s(&high) != 0 || rand_s(&low) != 0) continue;
        if (const uint64_t batch = (uint64_t{high} << 32) | low; batch != 0) return batch;
    }
}

// The account this program runs as.
std::vector<BYTE> TokenUser() {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return {};
    const UniqueKernelHandle token(raw);
    DWORD size = 0;
    GetTokenInformation(token.get(), ::TokenUser, nullptr, 0, &size);
    std::vector<BYTE> user(size);
    if (size == 0 || !GetTokenInformation(token.get(), ::TokenUser, user.data(), size, &size)) return {};
    return user;
}

PSID UserSid(std::vector<BYTE>& user) { return user.empty() ? nullptr : reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid; }

// Whether the object behind handle (opened with READ_CONTROL) belongs to this user, to the
// administrators or to the system: none of them would lay a trap for this user.
bool OwnedByTrusted(HANDLE handle) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR raw = nullptr;
    if (GetSecurityInfo(handle, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr, &raw) !=
        ERROR_SUCCESS)
        return false;
    const UniqueLocalMemory descriptor(raw);
    std::vector<BYTE> user = TokenUser();
    const PSID self = UserSid(user);
    return owner && ((self && EqualSid(owner, self)) || IsWellKnownSid(owner, WinBuiltinAdministratorsSid) ||
                     IsWellKnownSid(owner, WinLocalSystemSid));
}

// The journal's folder as it is made: owned by the user, open to the user, the system and the
// administrators only, and passing that on to what is made in it.
UniqueLocalMemory OwnFolderSecurity() {
    std::vector<BYTE> user = TokenUser();
    const PSID self = UserSid(user);
    LPWSTR raw = nullptr;
    if (!self || !ConvertSidToStringSidW(self, &raw)) return {};
    const UniqueLocalMemory text(raw);
    const std::wstring sid(raw);
    const std::wstring sddl = L"O:" + sid + L"D:P(A;OICI;FA;;;" + sid + L")(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &descriptor, nullptr)) return {};
    return UniqueLocalMemory(descriptor);
}

// Whether an entry is a link, by its open handle's attributes and by how its folder lists it (either may
// be unknown).
bool IsLink(DWORD opened, DWORD listed) {
    auto link = [](DWORD attributes) {
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    };
    return link(opened) || link(listed);
}

enum class TJournalUse { Read, Append, SetAside };

// The journal's folder and file, each opened as itself in the folder above it (never through a link)
// and checked before anything is read or written.
struct TJournalFile {
    UniqueFileHandle Folder, File;
    std::wstring Problem;  // refused, in plain words
    DWORD Error = ERROR_SUCCESS;  // could not be opened (ERROR_FILE_NOT_FOUND: nothing there yet)
};

TJournalFile OpenJournalFile(const std::wstring& path, TJournalUse use) {
    TJournalFile opened;
    const std::wstring_view folderPath = FolderPart(path), name = NamePart(path);
    if (!IsAbsolutePath(path) || name.empty() || folderPath.size() < 2) {
        opened.Error = ERROR_INVALID_NAME;
        return opened;
    }
    const std::wstring_view folderName = NamePart(folderPath.substr(0, folderPath.size() - 1));
    const std::wstring parentPath(FolderPart(folderPath.substr(0, folderPath.size() - 1)));
    // The folder the journal's folder is in (the user's local application data) is the user's own.
    const UniqueFileHandle parent(CreateFileW(ExtendedPath(parentPath).c_str(), FILE_TRAVERSE | FILE_LIST_DIRECTORY,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!parent || folderName.empty()) {
        opened.Error = parent ? ERROR_INVALID_NAME : GetLastError();
        return opened;
    }
    const bool create = use == TJournalUse::Append;
    const UniqueLocalMemory security = create ? OwnFolderSecurity() : UniqueLocalMemory();
    NTSTATUS status = 0;
    opened.Folder = OpenEntry(parent.get(), folderName, FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | READ_CONTROL,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, status, TEntryKind::Folder,
                              create ? TEntryDisposition::OpenOrCreate : TEntryDisposition::Existing, security.get());
    const std::wstring folderText(folderPath.substr(0, folderPath.size() - 1));
    if (status == StatusNotADirectory) {
        opened.Problem = L"The journal's folder " + folderText + L" is a file, not a folder.";
        return opened;
    }
    if (!opened.Folder) {
        opened.Error = IsNoSuchEntry(status) ? ERROR_FILE_NOT_FOUND : ErrorOfStatus(status);
        return opened;
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(opened.Folder.get(), &info)) {
        opened.Error = GetLastError();
        return opened;
    }
    if (IsLink(info.dwFileAttributes, ListedAttributes(parent.get(), folderName)))
        opened.Problem = L"The journal's folder " + folderText + L" is a link to another place.";
    else if (!OwnedByTrusted(opened.Folder.get()))
        opened.Problem = L"The journal's folder " + folderText + L" belongs to another account.";
    if (!opened.Problem.empty()) return opened;

    const ACCESS_MASK access = use == TJournalUse::Read     ? FILE_READ_DATA
                               : use == TJournalUse::Append ? FILE_READ_DATA | FILE_APPEND_DATA
                                                            : DELETE;
    // Readers share everything; a writer lets other copies of the program read and append meanwhile.
    const ULONG share = use == TJournalUse::Read ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE
                                                 : FILE_SHARE_READ | FILE_SHARE_WRITE;
    opened.File = OpenEntry(opened.Folder.get(), name, access | FILE_READ_ATTRIBUTES | READ_CONTROL, share, status,
                            TEntryKind::File, create ? TEntryDisposition::OpenOrCreate : TEntryDisposition::Existing);
    if (!opened.File) {
        opened.Error = IsNoSuchEntry(status) ? ERROR_FILE_NOT_FOUND : ErrorOfStatus(status);
        return opened;
    }
    if (!GetFileInformationByHandle(opened.File.get(), &info)) {
        opened.Error = GetLastError();
        opened.File.reset();
        return opened;
    }
    if (IsLink(info.dwFileAttributes, ListedAttributes(opened.Folder.get(), name)))
        opened.Problem = L"The journal " + path + L" is a link to another place.";
    else if (info.nNumberOfLinks > 1)
        opened.Problem = L"The journal " + path + L" has other names (hard links) elsewhere.";
    else if (!OwnedByTrusted(opened.File.get()))
        opened.Problem = L"The journal " + path + L" belongs to another account.";
    if (!opened.Problem.empty()) opened.File.reset();
    return opened;
}

// One line, its checksum taken off and checked; false for a line that is not sound.
bool CheckedRecord(std::string_view line, std::vector<std::string_view>& fields) {
    const size_t tab = line.rfind('\t');
    if (tab == std::string_view::npos) return false;
    uint64_t crc = 0;
    if (line.size() - tab - 1 != 8 || !ParseHex(line.substr(tab + 1), crc)) return false;
    if (JournalChecksum(line.substr(0, tab)) != crc) return false;
    fields = Fields(line.substr(0, tab));
    return true;
}

TJournalEntry* FindEntry(std::vector<TJournalEntry>& entries, uint64_t batch, uint64_t number) {
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry)
        if (entry->Batch == batch && entry->Number == number) return &*entry;
    return nullptr;
}

// Applies one sound line to contents; false when its fields are not what the journal writes.
bool ApplyRecord(const std::vector<std::string_view>& f, TJournalContents& contents) {
    uint64_t batch = 0, number = 0;
    if (f.size() < 3 || f[1].size() != 16 || !ParseHex(f[1], batch) || !ParseNumber(f[2], number) || number > UINT32_MAX)
        return false;
    if (f[0] == "change" && f.size() == 11) {
        TJournalEntry entry;
        uint64_t before = 0, after = 0, root = 0;
        if (!ParseHex(f[5], before) || !ParseHex(f[6], after) || !TFileIdentity::Parse(f[7], entry.Identity) ||
            !TFileIdentity::Parse(f[8], entry.RootIdentity) || !ParseNumber(f[9], root) ||
            !UnescapePath(f[10], entry.Path) || before > UINT32_MAX || after > UINT32_MAX || root > entry.Path.size())
            return false;
        if (f[3] == "unhide")
            entry.Kind = TBatchKind::Unhide;
        else if (f[3] == "undo")
            entry.Kind = TBatchKind::Undo;
        else
            return false;
        entry.Batch = batch;
        entry.Number = static_cast<uint32_t>(number);
        entry.Time = Utf8ToWide(f[4]);
        entry.Before = static_cast<DWORD>(before);
        entry.After = static_cast<DWORD>(after);
        entry.RootLength = static_cast<size_t>(root);
        contents.Entries.push_back(std::move(entry));
        return true;
    }
    TJournalEntry* entry = FindEntry(contents.Entries, batch, number);
    if (!entry) return false;
    if ((f[0] == "done" && f.size() == 4) || (f[0] == "failed" && f.size() == 3)) {
        uint64_t now = 0;
        if (f.size() == 4 && (!ParseHex(f[3], now) || now > UINT32_MAX)) return false;
        entry->State = f[0] == "done" ? TJournalEntry::Done : TJournalEntry::Failed;
        entry->AttributesNow = static_cast<DWORD>(now);
        return true;
    }
    if (f[0] == "undone" && f.size() == 3 && entry->Kind == TBatchKind::Unhide) {
        entry->Settled = true;
        return true;
    }
    return false;
}

std::string Record(std::string line) {
    line += '\t' + Hex(JournalChecksum(line), 8) + '\n';
    return line;
}

std::string BatchField(uint64_t batch, uint32_t number) { return Hex(batch, 16) + Format("\t%u", number); }

// A change as this program writes it for an unhide: with both identities, below a searched folder, and
// clearing exactly hidden and system. Undo touches nothing else, whoever wrote it.
bool Trusted(const TJournalEntry& entry) {
    return entry.Kind == TBatchKind::Unhide && entry.Identity.Known() && entry.RootIdentity.Known() &&
           IsAbsolutePath(entry.Path) && entry.RootLength > 0 && entry.RootLength < entry.Path.size() &&
           entry.Path[entry.RootLength - 1] == L'\\' && (entry.Before & HiddenSystem) == HiddenSystem &&
           entry.After == (entry.Before & ~HiddenSystem);
}

bool StillToUndo(const TJournalEntry& entry) { return entry.State != TJournalEntry::Failed && !entry.Settled; }

}  // namespace

std::wstring DefaultJournalPath() {
    PWSTR raw = nullptr;
    const HRESULT hr = SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DEFAULT, nullptr, &raw);
    const UniqueCoTaskString folder(raw);  // freed whether or not the call succeeded
    if (FAILED(hr) || !folder) return {};
    return IncludeFolderDelimiter(folder.get()) + L"Clarivo\\journal.tsv";
}

TJournalContents ReadJournal(const std::wstring& path) {
    TJournalContents contents;
    const TJournalFile opened = OpenJournalFile(path, TJournalUse::Read);
    contents.Refused = opened.Problem;
    if (!opened.File) {
        contents.Unreadable = contents.Refused.empty() && opened.Error != ERROR_FILE_NOT_FOUND;
        return contents;
    }
    std::string data;
    if (!ReadRest(opened.File.get(), data)) {
        contents.Unreadable = true;
        return contents;
    }
    if (data.empty()) return contents;
    size_t at = data.find('\n');
    std::string_view first = std::string_view(data).substr(0, at);
    if (first.ends_with('\r')) first.remove_suffix(1);
    if (first != Header || at == std::string::npos) {
        contents.OtherFormat = true;
        return contents;
    }
    while (at != std::string::npos && at + 1 < data.size()) {
        const size_t start = at + 1;
        at = data.find('\n', start);
        // A last line without its line end was torn off while being written.
        // A line end of CR LF (an editor's) is taken as LF.
        std::string_view line = std::string_view(data).substr(start, at == std::string::npos ? 0 : at - start);
        if (line.ends_with('\r')) line.remove_suffix(1);
        std::vector<std::string_view> fields;
        if (at == std::string::npos || !CheckedRecord(line, fields) || !ApplyRecord(fields, contents))
            ++contents.DamagedLines;
    }
    return contents;
}

TUndoPlan PlanUndo(const TJournalContents& contents) {
    TUndoPlan plan;
    const auto& entries = contents.Entries;
    const auto last = std::find_if(entries.rbegin(), entries.rend(),
                                   [](const TJournalEntry& entry) { return Trusted(entry) && StillToUndo(entry); });
    if (last == entries.rend()) return plan;
    plan.Batch = last->Batch;
    for (const TJournalEntry& entry : entries) {
        if (entry.Batch != plan.Batch || entry.Kind != TBatchKind::Unhide) continue;
        if (plan.Time.empty()) plan.Time = entry.Time;
        if (!Trusted(entry))
            ++plan.Untrusted;
        else if (StillToUndo(entry))
            plan.Changes.push_back(entry);
    }
    return plan;
}

TUndoOutcome Undo(const TUndoPlan& plan, TJournal& journal) {
    TUndoOutcome outcome;
    // Last changed first: a folder is hidden again after what it holds, the reverse of the unhide.
    journal.BeginBatch(TBatchKind::Undo);
    TObjectActions actions;
    std::vector<TListedObject> objects;
    for (auto entry = plan.Changes.rbegin(); entry != plan.Changes.rend(); ++entry) {
        TListedObject object;
        object.Path = entry->Path;
        object.RootLength = entry->RootLength;
        object.Identity = entry->Identity;
        object.RootIdentity = entry->RootIdentity;
        // What the unhide left, as read right after it when that was written down.
        object.Attributes = entry->State == TJournalEntry::Done ? entry->AttributesNow : entry->After;
        objects.push_back(std::move(object));
    }
    for (size_t start = 0; start < objects.size(); start += UndoBlock) {
        const size_t end = std::min(objects.size(), start + UndoBlock);
        std::vector<std::pair<const TListedObject*, DWORD>> block;
        for (size_t i = start; i < end; ++i)
            block.emplace_back(&objects[i], plan.Changes[plan.Changes.size() - 1 - i].Before & HiddenSystem);
        const std::vector<TActionResult> results = actions.Restore(block, journal);
        std::vector<std::pair<uint64_t, uint32_t>> settled;
        for (size_t i = start; i < end; ++i) {
            const TJournalEntry& entry = plan.Changes[plan.Changes.size() - 1 - i];
            const TActionResult result = results[i - start];
            // Put back, or no longer the object the unhide left: either way nothing is left to undo there. A
            // refusal (denied, in use) stays for the next undo.
            if (result == TActionResult::Done || result == TActionResult::Changed) settled.emplace_back(entry.Batch, entry.Number);
            if (!outcome.Counts.Add(result)) outcome.NotRestored.push_back(entry.Path);
        }
        journal.Settle(settled);
    }
    return outcome;
}

TJournal::TJournal(std::wstring path) : FPath(std::move(path)) {}

void TJournal::SetPath(std::wstring path) {
    FFile.reset();
    FPath = std::move(path);
}

bool TJournal::Usable() { return Open(); }

void TJournal::BeginBatch(TBatchKind kind) {
    FBatch = RandomBatch();
    FKind = kind;
    FNumber = 0;
}

bool TJournal::Open() {
    if (FFile) return true;
    FProblem.clear();
    TJournalFile opened = OpenJournalFile(FPath, TJournalUse::Append);
    std::string data;
    if (opened.File && !ReadRest(opened.File.get(), data)) {
        opened.Error = GetLastError();
        opened.File.reset();
    }
    if (opened.File && !data.empty() && !data.starts_with(std::string(Header) + '\n') &&
        !data.starts_with(std::string(Header) + "\r\n")) {
        // Another version's journal (or not a journal at all) is kept as it is, beside the new one.
        const std::wstring aside = std::wstring(NamePart(FPath)) + (data.starts_with(HeaderStem) ? L".old-" : L".unknown-") +
                                   Utf8ToWide(Hex(RandomBatch(), 16));
        opened.File.reset();
        const TJournalFile old = OpenJournalFile(FPath, TJournalUse::SetAside);
        if (old.File && RenameEntry(old.File.get(), old.Folder.get(), aside)) {
            opened = OpenJournalFile(FPath, TJournalUse::Append);
            data.clear();
        } else {
            opened.Error = old.File ? GetLastError() : old.Error;
        }
    }
    if (!opened.File) {
        FProblem = !opened.Problem.empty()
                       ? opened.Problem
                       : L"The journal " + FPath + L" cannot be written" + Utf8ToWide(Format(" (system error %lu).", opened.Error));
        return false;
    }
    FFile = std::move(opened.File);
    // A line torn off by a crash is ended, so that it spoils only itself.
    if (data.empty() ? !Append(std::string(Header) + '\n') : data.back() != '\n' && !Append("\n")) {
        FProblem = L"The journal " + FPath + L" cannot be written" + Utf8ToWide(Format(" (system error %lu).", GetLastError()));
        FFile.reset();
        return false;
    }
    return true;
}

bool TJournal::Append(const std::string& record) {
    DWORD written = 0;
    return WriteFile(FFile.get(), record.data(), static_cast<DWORD>(record.size()), &written, nullptr) &&
           written == record.size() && FlushFileBuffers(FFile.get());
}

bool TJournal::Begin(const std::vector<TAttributeChange>& changes) {
    if (FBatch == 0) BeginBatch(FKind);
    FBlock = 0;
    if (!Open()) return false;
    const std::string time = UtcNow();
    std::string lines;
    for (const TAttributeChange& change : changes) {
        const TListedObject& object = *change.Object;
        lines += Record("change\t" + BatchField(FBatch, FNumber + 1 + static_cast<uint32_t>(&change - changes.data())) + '\t' +
                        (FKind == TBatchKind::Unhide ? "unhide" : "undo") + '\t' + time + '\t' + Hex(change.Before, 8) + '\t' +
                        Hex(change.After, 8) + '\t' + object.Identity.Text() + '\t' + object.RootIdentity.Text() + '\t' +
                        std::to_string(object.RootLength) + '\t' + EscapePath(object.Path));
    }
    if (!Append(lines)) return false;
    FBlock = static_cast<uint32_t>(changes.size());
    FNumber += FBlock;
    return true;
}

void TJournal::End(const std::vector<TChangeOutcome>& outcomes) {
    // Written when it can be: an outcome that is missing reads as "may have been made", which the undo's
    // own check settles.
    if (!FFile || outcomes.size() != FBlock) return;
    std::string lines;
    for (size_t i = 0; i < outcomes.size(); ++i) {
        const std::string batch = BatchField(FBatch, FNumber - FBlock + 1 + static_cast<uint32_t>(i));
        lines += Record(outcomes[i].Done ? "done\t" + batch + '\t' + Hex(outcomes[i].AttributesNow, 8) : "failed\t" + batch);
    }
    Append(lines);
}

bool TJournal::Settle(const std::vector<std::pair<uint64_t, uint32_t>>& changes) {
    std::string lines;
    for (const auto& [batch, number] : changes) lines += Record("undone\t" + BatchField(batch, number));
    return lines.empty() || (Open() && Append(lines));
}
