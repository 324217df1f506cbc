// The journal of attribute changes and the undo that reads it, on real files in temporary folders.
#include "app/FileActions.h"
#include "app/Journal.h"

#include "TempTree.h"
#include "TestFiles.h"
#include "base/StrUtils.h"
#include "base/WinHandle.h"
#include "search/Paths.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace {

constexpr DWORD Compared = FILE_ATTRIBUTE_READONLY | HiddenSystem | FILE_ATTRIBUTE_DIRECTORY;

// Hands everything on to the journal; at each Begin, once the journal has it, looks at the file and at
// the object as they are at that moment.
class TWatchingRecorder : public TChangeRecorder {
public:
    TWatchingRecorder(TJournal& journal, std::function<void(const TAttributeChange&)> atBegin)
        : FJournal(journal), FAtBegin(std::move(atBegin)) {}
    bool Begin(const TAttributeChange& change) override {
        const bool written = FJournal.Begin(change);
        FAtBegin(change);
        return written;
    }
    void End(bool done, DWORD now) override { FJournal.End(done, now); }

private:
    TJournal& FJournal;
    std::function<void(const TAttributeChange&)> FAtBegin;
};

TEST(Journal, EveryChangeIsOnDiskBeforeItIsMadeAndItsOutcomeAfter) {
    TTempTree fx;
    TTestJournal journal;
    fx.SizedFile(L"\u6587\u4ef6.txt", 1, HiddenSystem | FILE_ATTRIBUTE_READONLY);
    fx.Folder(L"dir", HiddenSystem);
    int seen = 0;
    TWatchingRecorder recorder(journal.Journal, [&](const TAttributeChange& change) {
        ++seen;
        const TJournalContents now = ReadJournal(journal.Path());
        ASSERT_EQ(now.Entries.size(), static_cast<size_t>(seen));
        const TJournalEntry& last = now.Entries.back();
        EXPECT_EQ(last.Path, change.Path);
        EXPECT_EQ(last.State, TJournalEntry::Pending);
        EXPECT_EQ(GetFileAttributesW(change.Path.c_str()) & HiddenSystem, HiddenSystem) << "not changed yet";
    });
    journal.Journal.BeginBatch(TBatchKind::Unhide);
    for (const wchar_t* name : {L"\u6587\u4ef6.txt", L"dir"})
        EXPECT_EQ(UnhideListedObject(Listed(fx, name), recorder), TActionResult::Done);
    ASSERT_EQ(seen, 2);

    const TJournalContents contents = ReadJournal(journal.Path());
    EXPECT_EQ(contents.DamagedLines, 0);
    ASSERT_EQ(contents.Entries.size(), 2u);
    const TJournalEntry& file = contents.Entries[0];
    EXPECT_EQ(file.Path, fx.Path(L"\u6587\u4ef6.txt"));
    EXPECT_EQ(file.Before & Compared, HiddenSystem | FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(file.After & Compared, FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(file.State, TJournalEntry::Done);
    EXPECT_EQ(file.AttributesNow, fx.Attributes(L"\u6587\u4ef6.txt"));
    EXPECT_EQ(file.RootLength, fx.Root().size());
    EXPECT_NE(file.FileId, 0u);
    EXPECT_EQ(file.Time.size(), 24u) << "ISO 8601 in UTC, to the millisecond";
    EXPECT_EQ(contents.Entries[1].After & Compared, FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(contents.Entries[0].Batch, contents.Entries[1].Batch);
    SetAttributes(fx.Path(L"\u6587\u4ef6.txt"), FILE_ATTRIBUTE_NORMAL);
}

TEST(Journal, AChangeThatFailsIsMarkedAndOneThatCannotBeWrittenDownIsNotMade) {
    TTempTree fx;
    fx.SizedFile(L"a.txt", 1, HiddenSystem);
    // The journal's folder is a file: nothing can be written there.
    TJournal blocked(fx.Path(L"a.txt\\journal.tsv"));
    blocked.BeginBatch(TBatchKind::Unhide);
    EXPECT_EQ(UnhideListedObject(Listed(fx, L"a.txt"), blocked), TActionResult::Unrecorded);
    EXPECT_EQ(fx.Attributes(L"a.txt") & HiddenSystem, HiddenSystem);

    TTestJournal journal;
    journal.Journal.BeginBatch(TBatchKind::Unhide);
    ASSERT_TRUE(journal.Journal.Begin({fx.Path(L"a.txt"), fx.Root().size(), HiddenSystem, 0, 7}));
    journal.Journal.End(false, HiddenSystem);
    const TJournalContents contents = ReadJournal(journal.Path());
    ASSERT_EQ(contents.Entries.size(), 1u);
    EXPECT_EQ(contents.Entries[0].State, TJournalEntry::Failed);
    EXPECT_TRUE(LastUndoableBatch(contents).empty()) << "nothing to put back from a change that was not made";
}

TEST(Journal, PathsComeBackExactly) {
    std::wstring deep = L"C:\\";
    for (int i = 0; i < 8; ++i) deep += std::wstring(60, static_cast<wchar_t>(L'a' + i)) + L"\\";
    const std::wstring paths[] = {
        L"C:\\plain\\file.txt",
        L"C:\\100%\\%41%u0041.txt",                       // what the escapes look like, as a name
        std::wstring(L"C:\\tab\there\nline\x01\x7F"),
        std::wstring(L"C:\\lone-") + wchar_t(0xD800) + L"-" + wchar_t(0xDC01) + L"\\end" + wchar_t(0xDBFF),
        L"C:\\\u6587\u4ef6\\\u0444\u0430\u0439\u043b \U0001F600.txt",
        deep + L"long.",
        L"\\\\server\\share\\x",
    };
    // The journal itself in a folder not made yet, named in another script (a user's own name can be).
    TTempTree folder;
    const std::wstring path = folder.Path(L"\u0436\u0443\u0440\u043d\u0430\u043b \u65e5\u8a8c\\journal.tsv");
    TJournal journal(path);
    journal.BeginBatch(TBatchKind::Unhide);
    for (const std::wstring& logged : paths) ASSERT_TRUE(journal.Begin({logged, 3, HiddenSystem, 0, 0}));
    const TJournalContents contents = ReadJournal(path);
    EXPECT_EQ(contents.DamagedLines, 0);
    ASSERT_EQ(contents.Entries.size(), std::size(paths));
    for (size_t i = 0; i < std::size(paths); ++i) EXPECT_EQ(contents.Entries[i].Path, paths[i]) << i;
    const std::string bytes = FileBytes(path);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), static_cast<long>(std::size(paths)) + 1) << "one line each";
}

// A journal of three changes, each done, damaged in the ways a crash, a disk or a person damage files.
TEST(Journal, ADamagedJournalIsReadAsFarAsItIsSound) {
    TTestJournal good;
    good.Journal.BeginBatch(TBatchKind::Unhide);
    for (const wchar_t* path : {L"C:\\one", L"C:\\two", L"C:\\three"}) {
        ASSERT_TRUE(good.Journal.Begin({path, 3, HiddenSystem, 0, 0}));
        good.Journal.End(true, 0x20);
    }
    const std::string sound = FileBytes(good.Path());
    std::vector<size_t> ends;  // where each line ends
    for (size_t at = sound.find('\n'); at != std::string::npos; at = sound.find('\n', at + 1)) ends.push_back(at);
    ASSERT_EQ(ends.size(), 7u) << "a header and two lines per change";
    auto flipped = [&](size_t at) {
        std::string bytes = sound;
        bytes[at] = static_cast<char>(bytes[at] ^ 0x04);
        return bytes;
    };
    const std::string badUtf8 = "change\t9\t1\tunhide\tT\t00000006\t00000000\t0000000000000000\t3\tC:\\\xff";

    struct Case {
        const char* What;
        std::string Bytes;
        size_t Entries;
        int Damaged;
        bool OtherFormat;
        std::vector<std::wstring> Pending;  // entries left without an outcome
    } cases[] = {
        {"sound", sound, 3, 0, false, {}},
        {"the last line torn off by a crash", sound.substr(0, sound.size() - 5), 3, 1, false, {L"C:\\three"}},
        {"a changed byte in the second change", flipped(ends[2] + 12), 2, 2, false, {}},
        {"a changed byte in an outcome", flipped(ends[4] - 3), 3, 1, false, {L"C:\\two"}},
        {"junk between lines", sound.substr(0, ends[2] + 1) + "\x01\x02\xfe junk\n" + sound.substr(ends[2] + 1), 3, 1, false, {}},
        {"a line that is not UTF-8, with a right checksum", sound + badUtf8 + "\t" + Format("%08X", JournalChecksum(badUtf8)) + "\n", 3, 1, false, {}},
        {"carriage returns after every line", [&] {
             std::string bytes;
             for (char ch : sound) bytes += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
             return bytes;
         }(), 3, 0, false, {}},
        {"an older version", "Clarivo journal\t0\nchange\t1\n", 0, 0, true, {}},
        {"not a journal at all", "\xff\xfe<xml/>", 0, 0, true, {}},
        {"empty", "", 0, 0, false, {}},
    };
    for (const Case& c : cases) {
        TTestJournal journal;
        WriteBytes(journal.Path(), c.Bytes);
        const TJournalContents contents = ReadJournal(journal.Path());
        EXPECT_EQ(contents.Entries.size(), c.Entries) << c.What;
        EXPECT_EQ(contents.DamagedLines, c.Damaged) << c.What;
        EXPECT_EQ(contents.OtherFormat, c.OtherFormat) << c.What;
        std::vector<std::wstring> pending;
        for (const TJournalEntry& entry : contents.Entries)
            if (entry.State == TJournalEntry::Pending) pending.push_back(entry.Path);
        EXPECT_EQ(pending, c.Pending) << c.What;

        // Writing goes on after any damage, and what is written next is read back; a file of another
        // format is kept beside the new journal, as it was.
        journal.Journal.BeginBatch(TBatchKind::Unhide);
        ASSERT_TRUE(journal.Journal.Begin({L"C:\\next", 3, HiddenSystem, 0, 0})) << c.What;
        const TJournalContents after = ReadJournal(journal.Path());
        ASSERT_FALSE(after.Entries.empty()) << c.What;
        EXPECT_EQ(after.Entries.back().Path, L"C:\\next") << c.What;
        EXPECT_EQ(after.Entries.size(), c.Entries + 1) << c.What;
        EXPECT_EQ(after.DamagedLines, c.Damaged) << c.What;
        std::vector<std::wstring> aside;
        WIN32_FIND_DATAW data;
        const UniqueFindHandle find(FindFirstFileW(journal.Folder.Path(L"*").c_str(), &data));
        for (bool more = static_cast<bool>(find); more; more = FindNextFileW(find.get(), &data))
            if (data.cFileName[0] != L'.' && std::wstring(data.cFileName) != L"journal.tsv") aside.push_back(data.cFileName);
        ASSERT_EQ(aside.size(), c.OtherFormat ? 1u : 0u) << c.What;
        if (c.OtherFormat) {
            EXPECT_EQ(FileBytes(journal.Folder.Path(aside[0])), c.Bytes) << c.What;
        }
    }
}

// Undo puts back the last unhide on exactly the objects that are still as it left them; the batch before
// it is next; then there is nothing left.
TEST(Undo, PutsBackExactlyWhatTheLastUnhideChangedAndRefusesWhatChangedSince) {
    TTempTree fx;
    TTestJournal journal;
    const wchar_t* const restored[] = {L"ro.txt", L"plain.txt", L"dir", L"dir\\inner.txt"};
    fx.SizedFile(L"early.txt", 1, HiddenSystem);
    fx.SizedFile(L"ro.txt", 1, HiddenSystem | FILE_ATTRIBUTE_READONLY);
    fx.SizedFile(L"plain.txt", 1, HiddenSystem);
    fx.Folder(L"dir", HiddenSystem);
    fx.SizedFile(L"dir\\inner.txt", 1, HiddenSystem);
    for (const wchar_t* name : {L"rehidden.txt", L"readonly-since.txt", L"replaced.txt", L"gone.txt"})
        fx.SizedFile(name, 1, HiddenSystem);
    std::map<std::wstring, DWORD> listed;
    for (const wchar_t* name : restored) listed[name] = fx.Attributes(name);

    journal.Journal.BeginBatch(TBatchKind::Unhide);
    ASSERT_EQ(UnhideListedObject(Listed(fx, L"early.txt"), journal.Journal), TActionResult::Done);
    journal.Journal.BeginBatch(TBatchKind::Unhide);
    for (const wchar_t* name : {L"dir\\inner.txt", L"ro.txt", L"plain.txt", L"dir", L"rehidden.txt",
                                L"readonly-since.txt", L"replaced.txt", L"gone.txt"})
        ASSERT_EQ(UnhideListedObject(Listed(fx, name), journal.Journal), TActionResult::Done) << name;

    // Since the unhide: hidden again by hand, made read-only, replaced by another file with the very same
    // attributes (made before the old one went, so it cannot reuse its number), deleted.
    SetAttributes(fx.Path(L"rehidden.txt"), FILE_ATTRIBUTE_HIDDEN);
    SetAttributes(fx.Path(L"readonly-since.txt"), FILE_ATTRIBUTE_READONLY);
    const DWORD replacedAttributes = fx.Attributes(L"replaced.txt");
    fx.SizedFile(L"replacement.txt", 1);
    ASSERT_TRUE(DeleteFileW(fx.Path(L"replaced.txt").c_str()));
    ASSERT_TRUE(MoveFileW(fx.Path(L"replacement.txt").c_str(), fx.Path(L"replaced.txt").c_str()));
    ASSERT_EQ(fx.Attributes(L"replaced.txt") & Compared, replacedAttributes & Compared);
    ASSERT_TRUE(DeleteFileW(fx.Path(L"gone.txt").c_str()));

    const TUndoOutcome undo = UndoLastUnhide(journal.Journal);
    EXPECT_TRUE(undo.Found);
    EXPECT_EQ(undo.Counts.Done, 4);
    EXPECT_EQ(undo.Counts.Changed, 4);
    EXPECT_EQ(undo.Counts.Failed + undo.Counts.Unrecorded, 0);
    EXPECT_EQ(undo.NotRestored, (std::vector<std::wstring>{fx.Path(L"gone.txt"), fx.Path(L"replaced.txt"),
                                                           fx.Path(L"readonly-since.txt"), fx.Path(L"rehidden.txt")}))
        << "named, last changed first";
    for (const wchar_t* name : restored) EXPECT_EQ(fx.Attributes(name) & Compared, listed[name] & Compared) << name;
    EXPECT_EQ(fx.Attributes(L"rehidden.txt") & Compared, FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(fx.Attributes(L"readonly-since.txt") & Compared, FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(fx.Attributes(L"replaced.txt") & Compared, 0u);
    EXPECT_FALSE(fx.Exists(L"gone.txt"));
    EXPECT_EQ(fx.Attributes(L"early.txt") & HiddenSystem, 0u) << "only the last unhide";

    // The undo's own changes are journalled too, each done.
    const TJournalContents contents = ReadJournal(journal.Path());
    const auto undone = std::count_if(contents.Entries.begin(), contents.Entries.end(), [](const TJournalEntry& e) {
        return e.Kind == TBatchKind::Undo && e.State == TJournalEntry::Done;
    });
    EXPECT_EQ(undone, 4);

    const TUndoOutcome second = UndoLastUnhide(journal.Journal);
    EXPECT_TRUE(second.Found);
    EXPECT_EQ(second.Counts.Done, 1);
    EXPECT_EQ(fx.Attributes(L"early.txt") & HiddenSystem, HiddenSystem);
    EXPECT_FALSE(UndoLastUnhide(journal.Journal).Found);
    for (const wchar_t* name : {L"ro.txt", L"readonly-since.txt"}) SetAttributes(fx.Path(name), FILE_ATTRIBUTE_NORMAL);
}

// A journal another program holds without sharing: nothing is changed without it, and undo says it
// cannot read it rather than that there is nothing to undo.
TEST(Undo, AJournalHeldElsewhereStopsChangesAndIsSaidToBeUnreadable) {
    TTempTree fx;
    TTestJournal journal;
    fx.SizedFile(L"a.txt", 1, HiddenSystem);
    journal.Journal.BeginBatch(TBatchKind::Unhide);
    ASSERT_TRUE(journal.Journal.Begin({L"C:\\earlier", 3, HiddenSystem, 0, 0}));
    journal.Journal.SetPath(journal.Path());  // let go of it, as another run of the program would have
    {
        const UniqueFileHandle held(CreateFileW(journal.Path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        journal.Journal.BeginBatch(TBatchKind::Unhide);
        EXPECT_EQ(UnhideListedObject(Listed(fx, L"a.txt"), journal.Journal), TActionResult::Unrecorded);
        EXPECT_EQ(fx.Attributes(L"a.txt") & HiddenSystem, HiddenSystem);
        const TUndoOutcome undo = UndoLastUnhide(journal.Journal);
        EXPECT_TRUE(undo.Unreadable);
        EXPECT_FALSE(undo.Found);
    }
    const TJournalContents contents = ReadJournal(journal.Path());
    EXPECT_FALSE(contents.Unreadable);
    ASSERT_EQ(contents.Entries.size(), 1u) << "the earlier entry is still there, and nothing else";
    EXPECT_EQ(contents.Entries[0].Path, L"C:\\earlier");
}

// A crash between writing a change down and its outcome: the undo settles it by the object itself.
TEST(Undo, AChangeWithNoOutcomeWrittenIsPutBackOnlyWhereItWasMade) {
    TTempTree fx;
    TTestJournal journal;
    fx.SizedFile(L"made.txt", 1, HiddenSystem);
    fx.SizedFile(L"not-made.txt", 1, HiddenSystem);
    journal.Journal.BeginBatch(TBatchKind::Unhide);
    for (const wchar_t* name : {L"made.txt", L"not-made.txt"}) {
        const DWORD before = fx.Attributes(name);
        ASSERT_TRUE(journal.Journal.Begin({fx.Path(name), fx.Root().size(), before, before & ~HiddenSystem, 0}));
    }
    SetAttributes(fx.Path(L"made.txt"), FILE_ATTRIBUTE_ARCHIVE);  // the crash came after this one was made
    const TUndoOutcome undo = UndoLastUnhide(journal.Journal);
    EXPECT_EQ(undo.Counts.Done, 1);
    EXPECT_EQ(undo.Counts.Changed, 1);
    for (const wchar_t* name : {L"made.txt", L"not-made.txt"}) EXPECT_EQ(fx.Attributes(name) & HiddenSystem, HiddenSystem) << name;
}

}  // namespace
