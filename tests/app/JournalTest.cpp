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
#include <random>
#include <set>

namespace {

constexpr DWORD Compared = FILE_ATTRIBUTE_READONLY | HiddenSystem | FILE_ATTRIBUTE_DIRECTORY;

// An object of a given path as the journal would be told of it, for tests of the journal's lines alone.
TListedObject Logged(const std::wstring& path) {
    TListedObject object;
    object.Path = path;
    object.RootLength = 3;
    object.Identity.Volume = object.RootIdentity.Volume = 0x1234;
    object.Identity.Id[0] = 7;
    object.RootIdentity.Id[0] = 5;
    return object;
}

// Writes one change down, as an action about to make it would.
bool WriteChange(TJournal& journal, const TListedObject& object, DWORD before, DWORD after) {
    return journal.Begin({{&object, before, after}});
}

// A journal line with its checksum, as the program writes it.
std::string Line(const std::string& fields) { return fields + "\t" + Format("%08X", JournalChecksum(fields)) + "\n"; }

// The undo of the journal's last unhide, as Ctrl+Z makes it once the user said yes.
TUndoOutcome UndoLast(TJournal& journal) { return Undo(PlanUndo(ReadJournal(journal.Path())), journal); }

// Hands everything on to the journal; at each Begin, once the journal has it, looks at the file and at
// the object as they are at that moment.
class TWatchingRecorder : public TChangeRecorder {
public:
    TWatchingRecorder(TJournal& journal, std::function<void(const TAttributeChange&)> atBegin)
        : FJournal(journal), FAtBegin(std::move(atBegin)) {}
    bool Begin(const std::vector<TAttributeChange>& changes) override {
        const bool written = FJournal.Begin(changes);
        for (const TAttributeChange& change : changes) FAtBegin(change);
        return written;
    }
    void End(const std::vector<TChangeOutcome>& outcomes) override { FJournal.End(outcomes); }

private:
    TJournal& FJournal;
    std::function<void(const TAttributeChange&)> FAtBegin;
};

// A block of changes is on disk, every one of them, before any is made, and their outcomes after.
TEST(Journal, EveryChangeIsOnDiskBeforeItIsMadeAndItsOutcomeAfter) {
    TTempTree fx;
    TTestJournal journal;
    fx.SizedFile(L"\u6587\u4ef6.txt", 1, HiddenSystem | FILE_ATTRIBUTE_READONLY);
    fx.Folder(L"dir", HiddenSystem);
    int seen = 0;
    TWatchingRecorder recorder(journal.Journal, [&](const TAttributeChange& change) {
        ++seen;
        const TJournalContents now = ReadJournal(journal.Path());
        ASSERT_EQ(now.Entries.size(), 2u) << "the whole block";
        for (const TJournalEntry& entry : now.Entries) EXPECT_EQ(entry.State, TJournalEntry::Pending);
        EXPECT_EQ(now.Entries[static_cast<size_t>(seen - 1)].Path, change.Object->Path);
        EXPECT_EQ(GetFileAttributesW(change.Object->Path.c_str()) & HiddenSystem, HiddenSystem) << "not changed yet";
    });
    journal.Journal.BeginBatch(TBatchKind::Unhide);
    const TListedObject file = Listed(fx, L"\u6587\u4ef6.txt"), dir = Listed(fx, L"dir");
    EXPECT_EQ(TObjectActions().Unhide({&file, &dir}, recorder),
              (std::vector<TActionResult>{TActionResult::Done, TActionResult::Done}));
    ASSERT_EQ(seen, 2);

    const TJournalContents contents = ReadJournal(journal.Path());
    EXPECT_EQ(contents.DamagedLines, 0);
    ASSERT_EQ(contents.Entries.size(), 2u);
    const TJournalEntry& entry = contents.Entries[0];
    EXPECT_EQ(entry.Path, file.Path);
    EXPECT_EQ(entry.Before & Compared, HiddenSystem | FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(entry.After & Compared, FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(entry.State, TJournalEntry::Done);
    EXPECT_EQ(entry.AttributesNow, fx.Attributes(L"\u6587\u4ef6.txt"));
    EXPECT_EQ(entry.RootLength, fx.Root().size());
    EXPECT_TRUE(entry.Identity.Known());
    EXPECT_EQ(entry.Identity, file.Identity);
    EXPECT_EQ(entry.RootIdentity, file.RootIdentity);
    EXPECT_EQ(entry.Time.size(), 24u) << "ISO 8601 in UTC, to the millisecond";
    EXPECT_EQ(contents.Entries[1].After & Compared, FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(contents.Entries[0].Batch, contents.Entries[1].Batch);
    SetAttributes(fx.Path(L"\u6587\u4ef6.txt"), FILE_ATTRIBUTE_NORMAL);
}

TEST(Journal, AChangeThatFailsIsMarkedAndOneThatCannotBeWrittenDownIsNotMade) {
    TTempTree fx;
    fx.SizedFile(L"a.txt", 1, HiddenSystem);
    const TListedObject object = Listed(fx, L"a.txt");
    // The journal's folder is a file: nothing can be written there.
    TJournal blocked(fx.Path(L"a.txt\\journal.tsv"));
    blocked.BeginBatch(TBatchKind::Unhide);
    EXPECT_EQ(TObjectActions().Unhide(object, blocked), TActionResult::Unrecorded);
    EXPECT_EQ(fx.Attributes(L"a.txt") & HiddenSystem, HiddenSystem);
    EXPECT_FALSE(blocked.Usable());
    EXPECT_NE(blocked.Problem().find(L"not a folder"), std::wstring::npos) << "said in plain words";

    TTestJournal journal;
    journal.Journal.BeginBatch(TBatchKind::Unhide);
    ASSERT_TRUE(WriteChange(journal.Journal, object, HiddenSystem, 0));
    journal.Journal.End({{false, HiddenSystem}});
    const TJournalContents contents = ReadJournal(journal.Path());
    ASSERT_EQ(contents.Entries.size(), 1u);
    EXPECT_EQ(contents.Entries[0].State, TJournalEntry::Failed);
    EXPECT_TRUE(PlanUndo(contents).Empty()) << "nothing to put back from a change that was not made";
}

// Writing and reading are inverse for every UTF-16 string a name can hold, the journal's own folder
// named in any script.
TEST(Journal, PathsComeBackExactly) {
    std::wstring deep = L"C:\\";
    for (int i = 0; i < 8; ++i) deep += std::wstring(60, static_cast<wchar_t>(L'a' + i)) + L"\\";
    std::vector<std::wstring> paths = {
        L"C:\\plain\\file.txt",
        L"C:\\100%\\%41%u0041%uFFFD.txt",                 // what the escapes look like, as a name
        std::wstring(L"C:\\tab\there\nline\x01\x7F"),
        std::wstring(L"C:\\lone-") + wchar_t(0xD800) + L"-" + wchar_t(0xDC01) + L"\\end" + wchar_t(0xDBFF),
        std::wstring(L"C:\\replacement-") + wchar_t(0xFFFD) + L"-char",
        L"C:\\\u6587\u4ef6\\\u0444\u0430\u0439\u043b \U0001F600.txt",
        deep + L"long.",
        L"\\\\server\\share\\x",
    };
    std::mt19937 random(20261211);
    for (int i = 0; i < 200; ++i) {
        std::wstring path = L"C:\\";
        for (size_t n = random() % 40 + 1; n > 0; --n) path += static_cast<wchar_t>(random() % 0xFFFF + 1);
        paths.push_back(path);
    }
    TTempTree folder;
    const std::wstring path = folder.Path(L"\u0436\u0443\u0440\u043d\u0430\u043b \u65e5\u8a8c\\journal.tsv");
    TJournal journal(path);
    journal.BeginBatch(TBatchKind::Unhide);
    for (const std::wstring& logged : paths) ASSERT_TRUE(WriteChange(journal, Logged(logged), HiddenSystem, 0));
    const TJournalContents contents = ReadJournal(path);
    EXPECT_EQ(contents.DamagedLines, 0);
    ASSERT_EQ(contents.Entries.size(), paths.size());
    for (size_t i = 0; i < paths.size(); ++i) EXPECT_EQ(contents.Entries[i].Path, paths[i]) << i;
    const std::string bytes = FileBytes(path);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), static_cast<long>(paths.size()) + 1) << "one line each";
}

// Two copies of the program writing to one journal at the same moment never share a batch.
TEST(Journal, BatchesOfTwoWritersAtOnceStayApart) {
    TTestJournal journal;
    TJournal other(journal.Path());
    for (int i = 0; i < 50; ++i)
        for (TJournal* writer : {&journal.Journal, &other}) {
            writer->BeginBatch(TBatchKind::Unhide);
            ASSERT_TRUE(WriteChange(*writer, Logged(L"C:\\x\\y"), HiddenSystem, 0));
        }
    std::set<uint64_t> batches;
    for (const TJournalEntry& entry : ReadJournal(journal.Path()).Entries) batches.insert(entry.Batch);
    EXPECT_EQ(batches.size(), 100u);
}

// A journal of three changes, each done, damaged in the ways a crash, a disk or a person damage files.
TEST(Journal, ADamagedJournalIsReadAsFarAsItIsSound) {
    TTestJournal good;
    good.Journal.BeginBatch(TBatchKind::Unhide);
    for (const wchar_t* path : {L"C:\\one", L"C:\\two", L"C:\\three"}) {
        ASSERT_TRUE(WriteChange(good.Journal, Logged(path), HiddenSystem, 0));
        good.Journal.End({{true, 0x20}});
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
    const std::string identity = Logged(L"C:\\x").Identity.Text();
    const std::string badUtf8 = "change\t00000000000000A9\t1\tunhide\tT\t00000006\t00000000\t" + identity + "\t" + identity +
                                "\t3\tC:\\\xff";

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
        {"a line that is not UTF-8, with a right checksum", sound + Line(badUtf8), 3, 1, false, {}},
        {"carriage returns after every line", [&] {
             std::string bytes;
             for (char ch : sound) bytes += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
             return bytes;
         }(), 3, 0, false, {}},
        {"an older version", "Clarivo journal\t1\nchange\t1\n", 0, 0, true, {}},
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
        ASSERT_TRUE(WriteChange(journal.Journal, Logged(L"C:\\next"), HiddenSystem, 0)) << c.What;
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

// Any program running as the user can write to the journal; the undo of an elevated Clarivo must not
// become a way to change what that program could not. Whatever a line claims, the undo passes over
// every change it would not itself have written for an unhide, and never touches its object.
TEST(Undo, TrustsNoChangeItWouldNotHaveWritten) {
    TTempTree fx;
    fx.SizedFile(L"system-file.dll", 1);  // what a forged line would have hidden, or made read-only
    const TListedObject target = Listed(fx, L"system-file.dll");
    const DWORD untouched = fx.Attributes(L"system-file.dll");
    const std::wstring path = target.Path;
    const std::string unknown = TFileIdentity{}.Text(), id = target.Identity.Text(), root = target.RootIdentity.Text();
    const std::string rootLength = std::to_string(target.RootLength), fullLength = std::to_string(path.size());

    struct Case {
        const char* What;
        std::string Before, After, Identity, RootIdentity, RootLength;
    } cases[] = {
        {"no identity of the object", "00000006", "00000000", unknown, root, rootLength},
        {"no identity of the searched folder", "00000006", "00000000", id, unknown, rootLength},
        {"a searched folder as long as the path", "00000006", "00000000", id, root, fullLength},
        {"no searched folder", "00000006", "00000000", id, root, "0"},
        {"a change that cleared more than hidden and system", "00000007", "00000000", id, root, rootLength},
        {"a change of another bit", "00000001", "00000000", id, root, rootLength},
    };
    for (const Case& c : cases) {
        TTestJournal journal;
        // A sound unhide of the journal's own before the forged line, in another batch.
        const std::string line = "change\t00000000000000F0\t1\tunhide\t2026-12-11T10:00:00.000Z\t" + c.Before + "\t" + c.After +
                                 "\t" + c.Identity + "\t" + c.RootIdentity + "\t" + c.RootLength + "\t" + WideToUtf8(path);
        WriteBytes(journal.Path(), "Clarivo journal\t2\n" + Line(line) + Line("done\t00000000000000F0\t1\t00000020"));
        const TUndoPlan plan = PlanUndo(ReadJournal(journal.Path()));
        EXPECT_TRUE(plan.Empty()) << c.What;
        Undo(plan, journal.Journal);
        EXPECT_EQ(fx.Attributes(L"system-file.dll"), untouched) << c.What;
    }

    // A line slipped into a real unhide's batch is passed over, and counted; the rest is undone.
    TTestJournal journal;
    fx.SizedFile(L"mine.txt", 1, HiddenSystem);
    journal.Journal.BeginBatch(TBatchKind::Unhide);
    ASSERT_EQ(TObjectActions().Unhide(Listed(fx, L"mine.txt"), journal.Journal), TActionResult::Done);
    const uint64_t batch = ReadJournal(journal.Path()).Entries.back().Batch;
    const std::string forged = "change\t" + Format("%016llX", static_cast<unsigned long long>(batch)) +
                               "\t9\tunhide\t2026-12-11T10:00:00.000Z\t00000006\t00000000\t" + unknown + "\t" + root + "\t" +
                               rootLength + "\t" + WideToUtf8(path);
    WriteBytes(journal.Path(), FileBytes(journal.Path()) + Line(forged));
    const TUndoPlan plan = PlanUndo(ReadJournal(journal.Path()));
    EXPECT_EQ(plan.Changes.size(), 1u);
    EXPECT_EQ(plan.Untrusted, 1);
    EXPECT_EQ(Undo(plan, journal.Journal).Counts.Done(), 1);
    EXPECT_EQ(fx.Attributes(L"mine.txt") & HiddenSystem, HiddenSystem);
    EXPECT_EQ(fx.Attributes(L"system-file.dll"), untouched);
}

// The journal is written and read only in a folder of the user's own, never through a link, and never
// in a file that has names elsewhere: those are refused in plain words, and nothing lands where they lead.
TEST(Journal, RefusesALinkedFolderAndAFileWithOtherNames) {
    TTempTree elsewhere;
    TTempTree fx;
    ASSERT_TRUE(fx.Link(L"linked", elsewhere.Root()));
    TJournal linked(fx.Path(L"linked\\journal.tsv"));
    linked.BeginBatch(TBatchKind::Unhide);
    EXPECT_FALSE(WriteChange(linked, Logged(L"C:\\x\\y"), HiddenSystem, 0));
    EXPECT_NE(linked.Problem().find(L"is a link"), std::wstring::npos) << std::string(WideToUtf8(linked.Problem()));
    EXPECT_FALSE(elsewhere.Exists(L"journal.tsv")) << "nothing written where the link leads";
    WriteBytes(elsewhere.Path(L"journal.tsv"), "Clarivo journal\t2\n");
    EXPECT_FALSE(ReadJournal(linked.Path()).Refused.empty());
    EXPECT_TRUE(fx.Unlink(L"linked"));

    TTestJournal journal;
    journal.Journal.BeginBatch(TBatchKind::Unhide);
    ASSERT_TRUE(WriteChange(journal.Journal, Logged(L"C:\\x\\y"), HiddenSystem, 0));
    journal.Journal.SetPath(journal.Path());  // let go of it
    ASSERT_TRUE(CreateHardLinkW(fx.Path(L"second-name.tsv").c_str(), journal.Path().c_str(), nullptr));
    EXPECT_FALSE(journal.Journal.Usable());
    EXPECT_NE(journal.Journal.Problem().find(L"other names"), std::wstring::npos);
    EXPECT_FALSE(ReadJournal(journal.Path()).Refused.empty());
    EXPECT_EQ(FileBytes(fx.Path(L"second-name.tsv")), FileBytes(journal.Path())) << "left as it was";
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
    ASSERT_EQ(TObjectActions().Unhide(Listed(fx, L"early.txt"), journal.Journal), TActionResult::Done);
    journal.Journal.BeginBatch(TBatchKind::Unhide);
    for (const wchar_t* name : {L"dir\\inner.txt", L"ro.txt", L"plain.txt", L"dir", L"rehidden.txt",
                                L"readonly-since.txt", L"replaced.txt", L"gone.txt"})
        ASSERT_EQ(TObjectActions().Unhide(Listed(fx, name), journal.Journal), TActionResult::Done) << name;

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

    const TUndoPlan plan = PlanUndo(ReadJournal(journal.Path()));
    EXPECT_EQ(plan.Changes.size(), 8u);
    EXPECT_EQ(plan.Changes.front().Path, fx.Path(L"dir\\inner.txt")) << "in the order made";
    const TUndoOutcome undo = Undo(plan, journal.Journal);
    EXPECT_EQ(undo.Counts.Done(), 4);
    EXPECT_EQ(undo.Counts.Count(TActionResult::Changed), 4);
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

    EXPECT_EQ(UndoLast(journal.Journal).Counts.Done(), 1);
    EXPECT_EQ(fx.Attributes(L"early.txt") & HiddenSystem, HiddenSystem);
    EXPECT_TRUE(PlanUndo(ReadJournal(journal.Path())).Empty());
    for (const wchar_t* name : {L"ro.txt", L"readonly-since.txt"}) SetAttributes(fx.Path(name), FILE_ATTRIBUTE_NORMAL);
}

// An object the undo could not reach this time (its folder held by another program) stays to be undone:
// the next undo takes the same unhide again, for just what is left, and only then the one before.
TEST(Undo, WhatCouldNotBePutBackStaysForTheNextUndo) {
    TTempTree fx;
    TTestJournal journal;
    for (const wchar_t* name : {L"early\\e.txt", L"one\\a.txt", L"two\\b.txt"}) {
        fx.Folder(std::wstring(FolderPart(name)).substr(0, std::wstring(FolderPart(name)).size() - 1));
        fx.SizedFile(name, 1, HiddenSystem);
    }
    journal.Journal.BeginBatch(TBatchKind::Unhide);
    ASSERT_EQ(TObjectActions().Unhide(Listed(fx, L"e.txt", L"early"), journal.Journal), TActionResult::Done);
    journal.Journal.BeginBatch(TBatchKind::Unhide);
    ASSERT_EQ(TObjectActions().Unhide(Listed(fx, L"a.txt", L"one"), journal.Journal), TActionResult::Done);
    ASSERT_EQ(TObjectActions().Unhide(Listed(fx, L"b.txt", L"two"), journal.Journal), TActionResult::Done);
    {
        const UniqueFileHandle held(CreateFileW(fx.Path(L"two").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                                FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        ASSERT_TRUE(held);
        const TUndoOutcome undo = UndoLast(journal.Journal);
        EXPECT_EQ(undo.Counts.Done(), 1);
        EXPECT_EQ(undo.Counts.Count(TActionResult::InUse), 1);
    }
    const TUndoPlan next = PlanUndo(ReadJournal(journal.Path()));
    ASSERT_EQ(next.Changes.size(), 1u);
    EXPECT_EQ(next.Changes[0].Path, fx.Path(L"two\\b.txt"));
    EXPECT_EQ(Undo(next, journal.Journal).Counts.Done(), 1);
    EXPECT_EQ(fx.Attributes(L"two\\b.txt") & HiddenSystem, HiddenSystem);
    EXPECT_EQ(fx.Attributes(L"early\\e.txt") & HiddenSystem, 0u) << "the unhide before it is not touched yet";
    EXPECT_EQ(PlanUndo(ReadJournal(journal.Path())).Changes.at(0).Path, fx.Path(L"early\\e.txt"));
}

// A journal another program holds without sharing: nothing is changed without it, and it is said to be
// unreadable rather than that there is nothing to undo.
TEST(Undo, AJournalHeldElsewhereStopsChangesAndIsSaidToBeUnreadable) {
    TTempTree fx;
    TTestJournal journal;
    fx.SizedFile(L"a.txt", 1, HiddenSystem);
    journal.Journal.BeginBatch(TBatchKind::Unhide);
    ASSERT_TRUE(WriteChange(journal.Journal, Logged(L"C:\\earlier\\x"), HiddenSystem, 0));
    journal.Journal.SetPath(journal.Path());  // let go of it, as another run of the program would have
    {
        const UniqueFileHandle held(CreateFileW(journal.Path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        journal.Journal.BeginBatch(TBatchKind::Unhide);
        EXPECT_EQ(TObjectActions().Unhide(Listed(fx, L"a.txt"), journal.Journal), TActionResult::Unrecorded);
        EXPECT_EQ(fx.Attributes(L"a.txt") & HiddenSystem, HiddenSystem);
        EXPECT_TRUE(ReadJournal(journal.Path()).Unreadable);
    }
    const TJournalContents contents = ReadJournal(journal.Path());
    EXPECT_FALSE(contents.Unreadable);
    ASSERT_EQ(contents.Entries.size(), 1u) << "the earlier entry is still there, and nothing else";
    EXPECT_EQ(contents.Entries[0].Path, L"C:\\earlier\\x");
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
        ASSERT_TRUE(WriteChange(journal.Journal, Listed(fx, name), before, before & ~HiddenSystem));
    }
    SetAttributes(fx.Path(L"made.txt"), FILE_ATTRIBUTE_ARCHIVE);  // the crash came after this one was made
    const TUndoOutcome undo = UndoLast(journal.Journal);
    EXPECT_EQ(undo.Counts.Done(), 1);
    EXPECT_EQ(undo.Counts.Count(TActionResult::Changed), 1);
    for (const wchar_t* name : {L"made.txt", L"not-made.txt"}) EXPECT_EQ(fx.Attributes(name) & HiddenSystem, HiddenSystem) << name;
}

}  // namespace
