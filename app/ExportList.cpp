#include "app/ExportList.h"

#include "base/StrUtils.h"
#include "base/WinHandle.h"
#include "search/Paths.h"

#include <algorithm>
#include <atomic>
#include <utility>

namespace {

// A text cell a spreadsheet would take for a formula (and run) gets a mark in front that makes it
// plain text; the name itself is still readable after the mark.
std::string TextCell(std::string text) {
    if (!text.empty() && std::string_view("=+-@\t\r").find(text[0]) != std::string_view::npos) text.insert(0, 1, '\'');
    return text;
}

std::string TextCell(std::wstring_view text) { return TextCell(WideToUtf8(text)); }

// One field, quoted when it has to be.
std::string Field(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char ch : text) {
        if (ch == '"') quoted += '"';
        quoted += ch;
    }
    return quoted + '"';
}

std::string Line(std::initializer_list<std::string> fields) {
    std::string line;
    bool first = true;
    for (const std::string& field : fields) {
        if (!std::exchange(first, false)) line += ',';
        line += Field(field);
    }
    return line + "\r\n";
}

uint64_t FileTimeValue(const FILETIME& time) { return (uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime; }

std::string IsoTime(const FILETIME& utc) {
    SYSTEMTIME time;
    if (FileTimeValue(utc) == 0 || !FileTimeToSystemTime(&utc, &time)) return {};
    return Format("%04u-%02u-%02uT%02u:%02u:%02uZ", time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute,
                  time.wSecond);
}

std::string SizeField(const TListedObject& object) { return object.IsFolder() ? std::string() : std::to_string(object.Size); }

// An unknown time (0) is an empty field, not a date in 1601.
std::string FileTimeField(const FILETIME& time) {
    const uint64_t value = FileTimeValue(time);
    return value == 0 ? std::string() : std::to_string(value);
}

// A file beside the target, made for this export alone: CREATE_NEW never opens or replaces anything that
// is there, so a file of the user's can never be taken for ours. Plain attributes, since the file keeps
// them when it takes the target's place.
UniqueFileHandle CreateTemporaryBeside(const std::wstring& path, std::wstring& temporary) {
    static std::atomic<uint32_t> next{static_cast<uint32_t>(GetTickCount64()) ^ (GetCurrentProcessId() << 16)};
    const std::wstring folder(FolderPart(path));
    for (int attempt = 0; attempt < 1000; ++attempt) {
        temporary = ExtendedPath(folder + FormatW(L"~Clarivo-%08X.tmp", static_cast<unsigned>(next++)));
        UniqueFileHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                          nullptr));
        if (file || (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)) return file;
    }
    return UniqueFileHandle();
}

bool WriteAll(HANDLE file, const std::string& text) {
    for (size_t at = 0; at < text.size();) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(text.size() - at, 1u << 24));
        if (!WriteFile(file, text.data() + at, chunk, &written, nullptr)) return false;
        if (written == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        at += written;
    }
    return true;
}

}  // namespace

std::string ExportText(TExportFormat format, const std::vector<TListedObject>& objects) {
    std::string text = "\xEF\xBB\xBF";
    if (format == TExportFormat::Csv) {
        text += Line({"Name", "Location", "Full Path", "Size", "Modified", "Attributes"});
        for (const TListedObject& object : objects)
            text += Line({TextCell(NamePart(object.Path)), TextCell(FolderPart(object.Path)), TextCell(object.Path),
                          SizeField(object), IsoTime(object.Modified), std::to_string(object.Attributes)});
    } else {
        text += Line({"Filename", "Size", "Date Modified", "Attributes"});
        for (const TListedObject& object : objects)
            text += Line({TextCell(object.Path), SizeField(object), FileTimeField(object.Modified),
                          std::to_string(object.Attributes)});
    }
    return text;
}

bool ExportToFile(const std::wstring& path, TExportFormat format, const std::vector<TListedObject>& objects) {
    const std::string text = ExportText(format, objects);
    // Written beside the old file first, flushed, and only then put in its place, so a failure halfway
    // (a full disk, a power cut) leaves the earlier export whole.
    std::wstring temporary;
    UniqueFileHandle file = CreateTemporaryBeside(path, temporary);
    if (!file) return false;
    const bool written = WriteAll(file.get(), text) && FlushFileBuffers(file.get());
    DWORD error = GetLastError();
    file.reset();
    if (written) {
        if (MoveFileExW(temporary.c_str(), ExtendedPath(path).c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
        error = GetLastError();
    }
    DeleteFileW(temporary.c_str());
    SetLastError(error);
    return false;
}
