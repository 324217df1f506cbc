#include "app/Journal.h"

#include "base/StrUtils.h"
#include "base/UniqueHandle.h"
#include "search/Paths.h"

#include <shlobj.h>

#include <algorithm>
#include <charconv>
#include <string_view>

namespace {

constexpr std::string_view Header = "Clarivo journal\t1";
// Every file that starts like this is some version of the journal.
constexpr std::string_view HeaderStem = "Clarivo journal\t";

using UniqueCoTaskString = UniqueHandle<NullHandleTraits<PWSTR, CoTaskMemFree>>;

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

// The path with '%', control characters and unpaired surrogates spelled out, so that the line stays one
// line of valid UTF-8 and the name comes back exactly.
std::string EscapePath(std::wstring_view path) {
    std::wstring text;
    for (size_t i = 0; i < path.size(); ++i) {
        const wchar_t ch = path[i];
        const bool high = ch >= 0xD800 && ch <= 0xDBFF, low = ch >= 0xDC00 && ch <= 0xDFFF;
        if (high && i + 1 < path.size() && path[i + 1] >= 0xDC00 && path[i + 1] <= 0xDFFF) {
            text += ch;
            text += path[++i];
        } else if (high || low) {
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

// The bytes of the file, or nothing when it is not there. False when it is there but cannot be read.
bool ReadWhole(const std::wstring& path, std::string& data) {
    data.clear();
    const UniqueFileHandle file(CreateFileW(ExtendedPath(path).c_str(), GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 || size.QuadPart > (1LL << 30)) return false;
    data.resize(static_cast<size_t>(size.QuadPart));
    size_t at = 0;
    while (at < data.size()) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<size_t>(data.size() - at, 1u << 20));
        if (!ReadFile(file.get(), data.data() + at, want, &got, nullptr)) return false;
        if (got == 0) break;
        at += got;
    }
    data.resize(at);
    return true;
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
    if (f.size() < 2 || !ParseNumber(f[1], batch)) return false;
    if (f[0] == "change" && f.size() == 10) {
        TJournalEntry entry;
        uint64_t before = 0, after = 0, root = 0;
        if (!ParseNumber(f[2], number) || number > UINT32_MAX || !ParseHex(f[5], before) || !ParseHex(f[6], after) ||
            !ParseHex(f[7], entry.FileId) || !ParseNumber(f[8], root) || !UnescapePath(f[9], entry.Path) ||
            before > UINT32_MAX || after > UINT32_MAX || root > entry.Path.size())
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
    if ((f[0] == "done" && f.size() == 4) || (f[0] == "failed" && f.size() == 3)) {
        uint64_t now = 0;
        if (!ParseNumber(f[2], number) || (f.size() == 4 && (!ParseHex(f[3], now) || now > UINT32_MAX))) return false;
        TJournalEntry* entry = FindEntry(contents.Entries, batch, number);
        if (!entry) return false;
        entry->State = f[0] == "done" ? TJournalEntry::Done : TJournalEntry::Failed;
        entry->AttributesNow = static_cast<DWORD>(now);
        return true;
    }
    if (f[0] == "undone" && f.size() == 2) {
        contents.UndoneBatches.push_back(batch);
        return true;
    }
    return false;
}

std::string Record(std::string line) {
    line += '\t' + Hex(JournalChecksum(line), 8) + '\n';
    return line;
}

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
    std::string data;
    if (!ReadWhole(path, data)) {
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

std::vector<TJournalEntry> LastUndoableBatch(const TJournalContents& contents) {
    const auto undone = [&](uint64_t batch) {
        return std::find(contents.UndoneBatches.begin(), contents.UndoneBatches.end(), batch) !=
               contents.UndoneBatches.end();
    };
    uint64_t batch = 0;
    for (auto entry = contents.Entries.rbegin(); entry != contents.Entries.rend(); ++entry)
        if (entry->Kind == TBatchKind::Unhide && !undone(entry->Batch)) {
            batch = entry->Batch;
            break;
        }
    std::vector<TJournalEntry> changes;
    for (const TJournalEntry& entry : contents.Entries)
        if (batch != 0 && entry.Batch == batch && entry.State != TJournalEntry::Failed) changes.push_back(entry);
    return changes;
}

TJournal::TJournal(std::wstring path) : FPath(std::move(path)) {}

void TJournal::SetPath(std::wstring path) {
    FFile.reset();
    FPath = std::move(path);
}

void TJournal::BeginBatch(TBatchKind kind) {
    // Numbered by the clock, so that batches of two copies of the program running at once stay apart.
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    FBatch = std::max((uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime, FLastBatch + 1);
    FLastBatch = FBatch;
    FKind = kind;
    FNumber = 0;
}

bool TJournal::Open() {
    if (FFile) return true;
    if (FPath.empty() || !IsAbsolutePath(FPath)) return false;
    const std::wstring folder(FolderPart(FPath));
    CreateDirectoryW(ExtendedPath(folder).c_str(), nullptr);  // there already, mostly
    std::string data;
    if (!ReadWhole(FPath, data)) return false;
    if (!data.empty() && !data.starts_with(std::string(Header) + '\n') && !data.starts_with(std::string(Header) + "\r\n")) {
        // Another version's journal (or not a journal at all) is kept as it is, beside the new one.
        const bool ours = data.starts_with(HeaderStem);
        const std::wstring aside = FPath + (ours ? L".old-" : L".unknown-") + Utf8ToWide(Hex(FBatch, 16));
        if (!MoveFileExW(ExtendedPath(FPath).c_str(), ExtendedPath(aside).c_str(), 0)) return false;
        data.clear();
    }
    FFile.reset(CreateFileW(ExtendedPath(FPath).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!FFile) return false;
    // A line torn off by a crash is ended, so that it spoils only itself.
    if (data.empty() ? !Append(std::string(Header) + '\n') : data.back() != '\n' && !Append("\n")) {
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

bool TJournal::Begin(const TAttributeChange& change) {
    if (FBatch == 0) BeginBatch(FKind);
    if (!Open()) return false;
    ++FNumber;
    const std::string line = Format("change\t%llu\t%u\t%s\t%s\t", static_cast<unsigned long long>(FBatch), FNumber,
                                    FKind == TBatchKind::Unhide ? "unhide" : "undo", UtcNow().c_str()) +
                             Hex(change.Before, 8) + '\t' + Hex(change.After, 8) + '\t' + Hex(change.FileId, 16) + '\t' +
                             std::to_string(change.RootLength) + '\t' + EscapePath(change.Path);
    return Append(Record(line));
}

void TJournal::End(bool done, DWORD attributesNow) {
    // Written when it can be: an outcome that is missing reads as "may have been made", which the undo's
    // own check settles.
    if (!FFile) return;
    const std::string batch = Format("%llu\t%u", static_cast<unsigned long long>(FBatch), FNumber);
    Append(Record(done ? "done\t" + batch + '\t' + Hex(attributesNow, 8) : "failed\t" + batch));
}

bool TJournal::MarkUndone(uint64_t batch) {
    return Open() && Append(Record(Format("undone\t%llu", static_cast<unsigned long long>(batch))));
}

TUndoOutcome UndoLastUnhide(TJournal& journal) {
    const TJournalContents contents = ReadJournal(journal.Path());
    TUndoOutcome outcome;
    outcome.Unreadable = contents.Unreadable;
    outcome.OtherFormat = contents.OtherFormat;
    outcome.DamagedLines = contents.DamagedLines;
    const std::vector<TJournalEntry> batch = LastUndoableBatch(contents);
    if (batch.empty()) return outcome;
    outcome.Found = true;
    // Last changed first: a folder is hidden again after what it holds, the reverse of the unhide.
    journal.BeginBatch(TBatchKind::Undo);
    for (auto entry = batch.rbegin(); entry != batch.rend(); ++entry) {
        TListedObject object;
        object.Path = entry->Path;
        object.RootLength = entry->RootLength;
        object.FileId = entry->FileId;
        // What the unhide left, as read right after it when that was written down.
        object.Attributes = entry->State == TJournalEntry::Done ? entry->AttributesNow : entry->After;
        if (!outcome.Counts.Add(RestoreListedObject(object, entry->Before, journal)))
            outcome.NotRestored.push_back(entry->Path);
    }
    journal.MarkUndone(batch.front().Batch);
    return outcome;
}
