#pragma once
// The result list written out as a file other programs read: CSV (UTF-8 with a byte order mark, RFC 4180
// quoting, CR LF line ends) for spreadsheets, or an EFU file list for the desktop search tools that read
// those. Paths are written in their normal form, whatever their length; a field with a comma, a quote
// or a line break in it is quoted, its quotes doubled. A text field (a name, location or path) that
// starts with "=", "+", "-", "@", a tab or a carriage return gets a "'" in front, so that a spreadsheet
// shows it rather than running it as a formula.
//
// CSV columns: Name, Location, Full Path, Size (bytes; empty for a folder), Modified (ISO 8601, UTC),
// Attributes (the attribute bits as a decimal number).
// EFU columns: Filename (the full path), Size, Date Modified (a file time: 100 ns steps since 1601, UTC),
// Attributes (decimal). An unknown time is an empty field in both.
#include "app/FileActions.h"

#include <string>
#include <vector>

enum class TExportFormat { Csv, Efu };

// The whole file's bytes for these objects, in this order.
std::string ExportText(TExportFormat format, const std::vector<TListedObject>& objects);

// Writes the file, replacing one that is there; false (and the system's error in GetLastError) when it
// cannot, leaving any earlier file as it was. The text goes to a new temporary file beside it first
// ("~Clarivo-<number>.tmp", never one that is already there), which is flushed to disk and then takes
// the file's place, or is removed when anything fails.
bool ExportToFile(const std::wstring& path, TExportFormat format, const std::vector<TListedObject>& objects);
