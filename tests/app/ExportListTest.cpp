// The exported lists, read back by a strict RFC 4180 reader: every name and path comes back exactly,
// save the mark in front of one a spreadsheet would run as a formula.
#include "app/ExportList.h"

#include "TempTree.h"
#include "TestFiles.h"
#include "base/StrUtils.h"
#include "base/WinHandle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>

namespace {

using TTable = std::vector<std::vector<std::string>>;

// Records of RFC 4180 text: fields split by commas, records ended by CR LF, a quoted field taking
// commas, quotes (doubled) and line breaks. Nothing for text that breaks the rules.
std::optional<TTable> ReadCsv(std::string_view text) {
    TTable table(1, std::vector<std::string>(1));
    size_t at = 0;
    while (at < text.size()) {
        std::string& field = table.back().back();
        const char ch = text[at];
        if (ch == '"') {
            if (!field.empty()) return std::nullopt;  // a quote inside an unquoted field
            for (++at;; ++at) {
                if (at >= text.size()) return std::nullopt;
                if (text[at] != '"') {
                    field += text[at];
                } else if (at + 1 < text.size() && text[at + 1] == '"') {
                    field += '"';
                    ++at;
                } else {
                    break;
                }
            }
            ++at;
            if (at < text.size() && text[at] != ',' && text[at] != '\r') return std::nullopt;
        } else if (ch == ',') {
            table.back().emplace_back();
            ++at;
        } else if (ch == '\r') {
            if (at + 1 >= text.size() || text[at + 1] != '\n') return std::nullopt;
            at += 2;
            if (at < text.size()) table.emplace_back(1);
        } else if (ch == '\n') {
            return std::nullopt;  // a bare line break outside quotes
        } else {
            field += ch;
            ++at;
        }
    }
    if (!text.ends_with("\r\n")) return std::nullopt;
    return table;
}

FILETIME FileTimeOf(uint64_t value) { return {static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)}; }

// Objects whose names break naive writers: separators, quotes, line breaks, every script, long paths.
std::vector<TListedObject> AwkwardObjects() {
    std::wstring deep = L"C:\\";
    for (int i = 0; i < 6; ++i) deep += std::wstring(70, static_cast<wchar_t>(L'p' + i)) + L"\\";
    struct Sample {
        std::wstring Path;
        DWORD Attributes;
        uint64_t Size;
        uint64_t Modified;
    };
    const Sample samples[] = {
        {L"C:\\plain\\file.txt", 0x26, 1234, 132821517520000000},  // 2021-11-23 14:35:52 UTC
        {L"C:\\a,b\\comma, name.txt", 0x6, 0, 0},
        {L"C:\\q\\\"quoted\" name", 0x16, 0, 125911584000000000},  // 2000-01-01, a folder
        {L"C:\\lines\\one\r\ntwo\nthree\r", 0x6, 5ull << 30, 132821517520000000},
        {L"C:\\\u6587\u4ef6\\\u0444\u0430\u0439\u043b \U0001F600 \u05e9\u05dc\u05d5\u05dd.bin", 0x2006, 7, 116444736000000000},
        {deep + L"long.", 0x406 | FILE_ATTRIBUTE_DIRECTORY, 0, 132821517520000000},
        {L"\\\\server\\share\\x\\y.txt", 0x7, 1, 132821517520000000},
    };
    std::vector<TListedObject> objects;
    for (const Sample& s : samples) {
        TListedObject object;
        object.Path = s.Path;
        object.Attributes = s.Attributes;
        object.Size = s.Size;
        object.Modified = FileTimeOf(s.Modified);
        objects.push_back(object);
    }
    return objects;
}

// The names in a folder, sorted.
std::vector<std::wstring> Entries(const std::wstring& folder) {
    std::vector<std::wstring> names;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(folder)))
        names.push_back(entry.path().filename().wstring());
    std::sort(names.begin(), names.end());
    return names;
}

std::string Written(TExportFormat format, const std::vector<TListedObject>& objects) {
    TTempTree fx;
    const std::wstring path = fx.Path(format == TExportFormat::Csv ? L"list.csv" : L"list.efu");
    EXPECT_TRUE(ExportToFile(path, format, objects));
    return FileBytes(path);
}

TEST(ExportList, CsvRoundTripKeepsEveryNameAndPath) {
    const std::vector<TListedObject> objects = AwkwardObjects();
    const std::string text = Written(TExportFormat::Csv, objects);
    ASSERT_TRUE(text.starts_with("\xEF\xBB\xBF")) << "UTF-8 with a byte order mark";
    const std::optional<TTable> table = ReadCsv(std::string_view(text).substr(3));
    ASSERT_TRUE(table) << "not RFC 4180";
    ASSERT_EQ(table->size(), objects.size() + 1);
    EXPECT_EQ((*table)[0], (std::vector<std::string>{"Name", "Location", "Full Path", "Size", "Modified", "Attributes"}));
    const std::vector<std::vector<std::string>> expected = {
        {"file.txt", "C:\\plain\\", "C:\\plain\\file.txt", "1234", "2021-11-23T14:35:52Z", "38"},
        {"comma, name.txt", "C:\\a,b\\", "C:\\a,b\\comma, name.txt", "0", "", "6"},
        {"\"quoted\" name", "C:\\q\\", "C:\\q\\\"quoted\" name", "", "2000-01-01T00:00:00Z", "22"},
        {"one\r\ntwo\nthree\r", "C:\\lines\\", "C:\\lines\\one\r\ntwo\nthree\r", "5368709120", "2021-11-23T14:35:52Z", "6"},
    };
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ((*table)[i + 1], expected[i]) << i;
    for (size_t i = 0; i < objects.size(); ++i) {
        const std::vector<std::string>& row = (*table)[i + 1];
        ASSERT_EQ(row.size(), 6u) << i;
        EXPECT_EQ(Utf8ToWide(row[2]), objects[i].Path) << i;
        EXPECT_EQ(Utf8ToWide(row[1] + row[0]), objects[i].Path) << "location and name make the path: " << i;
    }
    EXPECT_EQ((*table)[6][3], "") << "a folder has no size";
    EXPECT_EQ((*table)[6][2].size(), objects[5].Path.size()) << "long paths whole, in their normal form";
}

TEST(ExportList, EfuRoundTripKeepsPathsSizesTimesAndAttributes) {
    const std::vector<TListedObject> objects = AwkwardObjects();
    const std::string text = Written(TExportFormat::Efu, objects);
    ASSERT_TRUE(text.starts_with("\xEF\xBB\xBF"));
    const std::optional<TTable> table = ReadCsv(std::string_view(text).substr(3));
    ASSERT_TRUE(table);
    ASSERT_EQ(table->size(), objects.size() + 1);
    EXPECT_EQ((*table)[0], (std::vector<std::string>{"Filename", "Size", "Date Modified", "Attributes"}));
    for (size_t i = 0; i < objects.size(); ++i) {
        const std::vector<std::string>& row = (*table)[i + 1];
        ASSERT_EQ(row.size(), 4u) << i;
        const TListedObject& object = objects[i];
        EXPECT_EQ(Utf8ToWide(row[0]), object.Path) << i;
        EXPECT_EQ(row[1], object.IsFolder() ? "" : std::to_string(object.Size)) << i;
        const uint64_t modified = (uint64_t{object.Modified.dwHighDateTime} << 32) | object.Modified.dwLowDateTime;
        EXPECT_EQ(row[2], modified == 0 ? "" : std::to_string(modified)) << i;
        EXPECT_EQ(row[3], std::to_string(object.Attributes)) << i;
    }
    EXPECT_EQ((*table)[2][2], "") << "an unknown time is empty, as in the CSV";
}

TEST(ExportList, TextCellsASpreadsheetWouldRunAsFormulasAreMarked) {
    // The EFU file's Filename is written as the CSV's Full Path.
    struct Case {
        std::wstring Path;
        std::string Name, Location, FullPath;
    } cases[] = {
        {L"C:\\d\\=SUM(A1,A9)", "'=SUM(A1,A9)", "C:\\d\\", "C:\\d\\=SUM(A1,A9)"},
        {L"C:\\d\\+1", "'+1", "C:\\d\\", "C:\\d\\+1"},
        {L"C:\\d\\-2+3", "'-2+3", "C:\\d\\", "C:\\d\\-2+3"},
        {L"C:\\d\\@SUM(1)", "'@SUM(1)", "C:\\d\\", "C:\\d\\@SUM(1)"},
        {L"C:\\d\\\tx", "'\tx", "C:\\d\\", "C:\\d\\\tx"},
        {L"C:\\d\\\r=x", "'\r=x", "C:\\d\\", "C:\\d\\\r=x"},
        {L"=cmd|' /C calc'!A0\\-x", "'-x", "'=cmd|' /C calc'!A0\\", "'=cmd|' /C calc'!A0\\-x"},
        {L"@d\\ok", "ok", "'@d\\", "'@d\\ok"},
        // Only the first character counts; a mark already there is the name's own.
        {L"C:\\d\\a=b", "a=b", "C:\\d\\", "C:\\d\\a=b"},
        {L"C:\\d\\ =x", " =x", "C:\\d\\", "C:\\d\\ =x"},
        {L"C:\\d\\'=x", "'=x", "C:\\d\\", "C:\\d\\'=x"},
    };
    std::vector<TListedObject> objects;
    for (const Case& c : cases) {
        TListedObject object;
        object.Path = c.Path;
        object.Attributes = 0x26;
        object.Size = 10;
        objects.push_back(object);
    }
    const std::optional<TTable> csv = ReadCsv(std::string_view(ExportText(TExportFormat::Csv, objects)).substr(3));
    const std::optional<TTable> efu = ReadCsv(std::string_view(ExportText(TExportFormat::Efu, objects)).substr(3));
    ASSERT_TRUE(csv && efu);
    ASSERT_EQ(csv->size(), std::size(cases) + 1);
    ASSERT_EQ(efu->size(), std::size(cases) + 1);
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ((*csv)[i + 1], (std::vector<std::string>{c.Name, c.Location, c.FullPath, "10", "", "38"})) << i;
        EXPECT_EQ((*efu)[i + 1], (std::vector<std::string>{c.FullPath, "10", "", "38"})) << i;
    }
}

TEST(ExportList, FilesBesideTheExportAreLeftAlone) {
    TTempTree fx;
    // Named as a careless writer would name its temporary file.
    fx.File(L"out.csv.partial", "mine");
    fx.File(L"out.csv", "earlier");
    const std::vector<TListedObject> objects = AwkwardObjects();
    ASSERT_TRUE(ExportToFile(fx.Path(L"out.csv"), TExportFormat::Csv, objects));
    EXPECT_EQ(FileBytes(fx.Path(L"out.csv")), ExportText(TExportFormat::Csv, objects));
    EXPECT_EQ(FileBytes(fx.Path(L"out.csv.partial")), "mine");
    EXPECT_EQ(Entries(fx.Root()), (std::vector<std::wstring>{L"out.csv", L"out.csv.partial"})) << "nothing left behind";
    EXPECT_EQ(fx.Attributes(L"out.csv") & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY), 0u);
}

TEST(ExportList, AFileThatCannotBeWrittenLeavesTheEarlierOneWhole) {
    TTempTree fx;
    const std::wstring earlier = fx.File(L"list.csv", "earlier");
    EXPECT_FALSE(ExportToFile(fx.Path(L"missing\\list.csv"), TExportFormat::Csv, AwkwardObjects()));
    EXPECT_NE(GetLastError(), 0u);
    {
        // Held open without sharing: the new list cannot take its place.
        const UniqueFileHandle held(CreateFileW(earlier.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_FALSE(ExportToFile(earlier, TExportFormat::Csv, AwkwardObjects()));
    }
    EXPECT_EQ(FileBytes(earlier), "earlier");
    EXPECT_EQ(Entries(fx.Root()), std::vector<std::wstring>{L"list.csv"}) << "nothing left behind";
}

}  // namespace
