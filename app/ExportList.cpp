#include "app/ExportList.h"

#include "base/StrUtils.h"
#include "base/WinHandle.h"
#include "search/Paths.h"

#include <algorithm>
#include <utility>

namespace {

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

}  // namespace

std::string ExportText(TExportFormat format, const std::vector<TListedObject>& objects) {
    std::string text = "\xEF\xBB\xBF";
    if (format == TExportFormat::Csv) {
        text += Line({"Name", "Location", "Full Path", "Size", "Modified", "Attributes"});
        for (const TListedObject& object : objects)
            text += Line({WideToUtf8(NamePart(object.Path)), WideToUtf8(FolderPart(object.Path)), WideToUtf8(object.Path),
                          SizeField(object), IsoTime(object.Modified), std::to_string(object.Attributes)});
    } else {
        text += Line({"Filename", "Size", "Date Modified", "Attributes"});
        for (const TListedObject& object : objects)
            text += Line({WideToUtf8(object.Path), SizeField(object), std::to_string(FileTimeValue(object.Modified)),
                          std::to_string(object.Attributes)});
    }
    return text;
}

bool ExportToFile(const std::wstring& path, TExportFormat format, const std::vector<TListedObject>& objects) {
    const std::string text = ExportText(format, objects);
    // Written beside the old file first and then put in its place, so a failure halfway (a full disk)
    // leaves the earlier export whole.
    const std::wstring target = ExtendedPath(path), partial = ExtendedPath(path + L".partial");
    {
        UniqueFileHandle file(CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        for (size_t at = 0; at < text.size();) {
            DWORD written = 0;
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(text.size() - at, 1u << 24));
            if (!WriteFile(file.get(), text.data() + at, chunk, &written, nullptr) || written == 0) {
                const DWORD error = GetLastError();
                file.reset();
                DeleteFileW(partial.c_str());
                SetLastError(error);
                return false;
            }
            at += written;
        }
    }
    if (MoveFileExW(partial.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    const DWORD error = GetLastError();
    DeleteFileW(partial.c_str());
    SetLastError(error);
    return false;
}
