// Actions benchmark: what unhide and delete cost per object, Clarivo's way against the least any program
// could do, on the same objects in the same run. The fixture is 10,000 hidden and system files and 2,000
// hidden and system folders spread as on a real drive: 200 plain folders (20 x 10), each with 40 hidden
// files and 10 hidden folders that hold one hidden file each.
//   - unhide: TObjectActions::Unhide writing every change to a journal of its own (in a temporary
//     folder), the same without a journal (as after "Unhide anyway"; the difference is the journal's
//     share), and a raw SetFileAttributesW loop clearing hidden and system; every object is hidden
//     again between passes, and the passes take turns at going first.
//   - delete: TObjectActions::Delete against a raw DeleteFileW / RemoveDirectoryW loop (files first, then
//     the emptied folders); the fixture is made anew for every pass.
// Clarivo's side gets the objects as the search lists them: path, attributes, the searched folder's part
// of the path, and both identities. Prints each run's figures, then medians and each run's ratio's median.
//
// Usage: bench_actions [runs]   (default 3; the fixture is made beside the exe and removed at the end)
#include "bench/search/BenchUtil.h"
#include "app/FileActions.h"
#include "app/Journal.h"
#include "search/Paths.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr DWORD HiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
constexpr int kTop = 20, kMiddle = 10, kFilesBeside = 40, kHiddenFolders = 10;

[[noreturn]] void Fail(const char* what, const std::wstring& path) {
    std::printf("%s: %ls (system error %lu)\n", what, path.c_str(), GetLastError());
    std::exit(1);
}

// Every path of the fixture, known in advance, so that making and clearing it need no walk.
struct TFixture {
    std::wstring Root;                          // ends in a backslash
    std::vector<std::wstring> Plain;            // the folders the hidden objects lie in, outer ones first
    std::vector<std::wstring> Files, Folders;   // hidden and system

    explicit TFixture(std::wstring root) : Root(std::move(root)) {
        for (int top = 0; top < kTop; ++top) {
            const std::wstring outer = Root + L"t" + std::to_wstring(top);
            Plain.push_back(outer);
            for (int middle = 0; middle < kMiddle; ++middle) {
                const std::wstring folder = outer + L"\\f" + std::to_wstring(middle);
                Plain.push_back(folder);
                for (int i = 0; i < kFilesBeside; ++i) Files.push_back(folder + L"\\file" + std::to_wstring(i) + L".dat");
                for (int i = 0; i < kHiddenFolders; ++i) {
                    Folders.push_back(folder + L"\\hidden" + std::to_wstring(i));
                    Files.push_back(Folders.back() + L"\\inner.dat");
                }
            }
        }
    }

    // Whatever an earlier pass (or a run cut short) left, removed: files, then the folders inside out.
    void Clear() const {
        for (const std::wstring& file : Files) DeleteFileW(ExtendedPath(file).c_str());
        for (const std::wstring& folder : Folders) RemoveDirectoryW(ExtendedPath(folder).c_str());
        for (auto folder = Plain.rbegin(); folder != Plain.rend(); ++folder) RemoveDirectoryW(ExtendedPath(*folder).c_str());
        RemoveDirectoryW(ExtendedPath(Root).c_str());
    }

    void Make() const {
        Clear();
        if (!CreateDirectoryW(ExtendedPath(Root).c_str(), nullptr)) Fail("cannot make the fixture", Root);
        for (const std::wstring& folder : Plain)
            if (!CreateDirectoryW(ExtendedPath(folder).c_str(), nullptr)) Fail("cannot make", folder);
        for (const std::wstring& folder : Folders)
            if (!CreateDirectoryW(ExtendedPath(folder).c_str(), nullptr) ||
                !SetFileAttributesW(ExtendedPath(folder).c_str(), HiddenSystem))
                Fail("cannot make", folder);
        static const char content[] = "hidden and system, made by bench_actions\r\n";
        for (const std::wstring& file : Files) {
            const UniqueFileHandle handle(CreateFileW(ExtendedPath(file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                                      HiddenSystem, nullptr));
            DWORD written = 0;
            if (!handle || !WriteFile(handle.get(), content, sizeof content - 1, &written, nullptr))
                Fail("cannot make", file);
        }
    }

    // The hidden objects as a search of Root lists them, in the order both sides act on them: files first,
    // then the folders, which are empty by then (all at one depth, so deepest first is any order).
    std::vector<TListedObject> List() const {
        const TSearchedFolder searched = IdentifySearchedFolder(Root);
        std::vector<TListedObject> objects;
        auto add = [&](const std::wstring& path) {
            TListedObject& object = objects.emplace_back();
            object.Path = path;
            object.Attributes = GetFileAttributesW(ExtendedPath(path).c_str());
            object.RootLength = Root.size();
            if ((object.Attributes & HiddenSystem) != HiddenSystem || !IdentifyListed(object, searched, 0))
                Fail("cannot list as hidden and system with its identity", path);
        };
        for (const std::wstring& file : Files) add(file);
        for (const std::wstring& folder : Folders) add(folder);
        return objects;
    }

    // How many of the hidden objects pass test with their attributes now (INVALID_FILE_ATTRIBUTES when gone).
    int Count(bool (*test)(DWORD attributes)) const {
        int count = 0;
        for (const auto* paths : {&Files, &Folders})
            for (const std::wstring& path : *paths) count += test(GetFileAttributesW(ExtendedPath(path).c_str()));
        return count;
    }
};

// What a setter may be given: the kind and "normal" are the file system's own.
DWORD Settable(DWORD attributes) {
    attributes &= ~(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_NORMAL);
    return attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
}

void HideAgain(const std::vector<TListedObject>& objects) {
    for (const TListedObject& object : objects)
        if (!SetFileAttributesW(ExtendedPath(object.Path).c_str(), Settable(object.Attributes)))
            Fail("cannot hide again", object.Path);
}

// Clarivo's side, one function per action over the whole batch: one run of actions (the searched folder
// opened and checked once), an object at a time, and for unhide one journal batch. Each is to become a
// call of the action runner, which takes the batch on its worker thread and journals unhides a block at a
// time; with the runner come two more figures: how quickly the window answers during a 10,000-object
// unhide, and the time from Stop to the runner's end.
int ClarivoUnhide(const std::vector<TListedObject>& objects, TJournal* journal) {
    TUnrecorded unrecorded;
    TChangeRecorder& recorder = journal ? static_cast<TChangeRecorder&>(*journal) : unrecorded;
    if (journal) journal->BeginBatch(TBatchKind::Unhide);
    TObjectActions actions;
    TActionCounts counts;
    for (const TListedObject& object : objects) counts.Add(actions.Unhide(object, recorder));
    return counts.Done();
}

int ClarivoDelete(const std::vector<TListedObject>& objects) {
    TObjectActions actions;
    TActionCounts counts;
    for (const TListedObject& object : objects) counts.Add(actions.Delete(object));
    return counts.Done();
}

// The least any program could do: one call per object by its path, nothing checked before.
int RawUnhide(const std::vector<TListedObject>& objects) {
    int done = 0;
    for (const TListedObject& object : objects)
        done += SetFileAttributesW(object.Path.c_str(), Settable(object.Attributes & ~HiddenSystem)) != 0;
    return done;
}

int RawDelete(const std::vector<TListedObject>& objects) {
    int done = 0;
    for (const TListedObject& object : objects)
        done += (object.IsFolder() ? RemoveDirectoryW(object.Path.c_str()) : DeleteFileW(object.Path.c_str())) != 0;
    return done;
}

struct TSide {
    const char* Name;
    std::vector<double> Us;  // microseconds per object, one per run
};

// One timed pass of act, in microseconds per object, kept with the side's; a pass that left objects as
// they were is said, since its time is then not that of the whole work. left counts them after the pass.
double TimePass(int run, const char* action, TSide& side, int objects, const std::function<int()>& act,
                const std::function<int()>& left) {
    int done = 0;
    const double seconds = TimeSeconds([&] { done = act(); });
    const int remaining = left();
    if (done != objects || remaining != 0)
        std::printf("  run %d, %s, %s: %d of %d done, %d left as they were\n", run + 1, action, side.Name, done, objects,
                    remaining);
    side.Us.push_back(seconds * 1e6 / objects);
    return side.Us.back();
}

bool Hidden(DWORD attributes) { return attributes != INVALID_FILE_ATTRIBUTES && (attributes & HiddenSystem); }
bool Present(DWORD attributes) { return attributes != INVALID_FILE_ATTRIBUTES; }

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const TFixture fixture(BesideExe(L"action-tree"));
    const int objectCount = int(fixture.Files.size() + fixture.Folders.size());

    // A journal of the benchmark's own, never the user's; the journal makes its folder itself.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring journalFolder = std::wstring(temp) + L"clarivo-bench-actions-" +
                                       std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount64());
    const std::wstring journalPath = journalFolder + L"\\journal.tsv";
    auto journal = std::make_unique<TJournal>(journalPath);
    if (!journal->Usable()) {
        std::printf("the journal cannot be used: %ls\n", journal->Problem().c_str());
        return 1;
    }

    std::printf("bench_actions: unhide and delete per object, Clarivo's actions against raw loops over the same %zu "
                "hidden and system files and %zu folders below %d folders (%d runs)\n",
                fixture.Files.size(), fixture.Folders.size(), kTop * kMiddle, runs);
    std::fflush(stdout);

    // Unhide: one fixture; each pass finds every object hidden and must leave none so.
    fixture.Make();
    const std::vector<TListedObject> listed = fixture.List();
    TSide unhide[] = {{"Clarivo, journalled", {}}, {"raw SetFileAttributesW", {}}, {"Clarivo, no journal", {}}};
    std::vector<double> unhideRatio, unrecordedRatio;
    for (int run = 0; run < runs; ++run) {
        double us[3] = {};
        for (int turn = 0; turn < 3; ++turn) {
            const int side = (run + turn) % 3;
            HideAgain(listed);
            us[side] = TimePass(
                run, "unhide", unhide[side], objectCount,
                [&] {
                    return side == 0 ? ClarivoUnhide(listed, journal.get())
                         : side == 1 ? RawUnhide(listed)
                                     : ClarivoUnhide(listed, nullptr);
                },
                [&] { return fixture.Count(Hidden); });
        }
        unhideRatio.push_back(us[0] / us[1]);
        unrecordedRatio.push_back(us[2] / us[1]);
        std::printf("  run %d, unhide: journalled %7.1f us/object  raw %6.1f us/object  no journal %7.1f us/object"
                    "  (%.2f x raw, %.2f x raw)\n",
                    run + 1, us[0], us[1], us[2], unhideRatio.back(), unrecordedRatio.back());
        std::fflush(stdout);
    }
    // Closed first: it holds its file open without sharing delete.
    journal.reset();
    DeleteFileW(ExtendedPath(journalPath).c_str());
    RemoveDirectoryW(ExtendedPath(journalFolder).c_str());

    // Delete: a fixture made anew for each pass; the passes take turns at going first.
    TSide remove[] = {{"Clarivo", {}}, {"raw DeleteFileW / RemoveDirectoryW", {}}};
    std::vector<double> deleteRatio;
    for (int run = 0; run < runs; ++run) {
        double us[2] = {};
        for (int turn = 0; turn < 2; ++turn) {
            const int side = (run + turn) % 2;
            fixture.Make();
            const std::vector<TListedObject> objects = fixture.List();
            us[side] = TimePass(
                run, "delete", remove[side], objectCount,
                [&] { return side == 0 ? ClarivoDelete(objects) : RawDelete(objects); }, [&] { return fixture.Count(Present); });
        }
        deleteRatio.push_back(us[0] / us[1]);
        std::printf("  run %d, delete: Clarivo %7.1f us/object  raw %6.1f us/object  (%.2f x raw)\n", run + 1, us[0], us[1],
                    deleteRatio.back());
        std::fflush(stdout);
    }
    fixture.Clear();

    std::printf("\nper object (medians of %d runs; ratios are medians of each run's)\n", runs);
    std::printf("  unhide: %s %7.1f us  %s %6.1f us  %s %7.1f us\n", unhide[0].Name, Median(unhide[0].Us), unhide[1].Name,
                Median(unhide[1].Us), unhide[2].Name, Median(unhide[2].Us));
    std::printf("          journalled %.2f x raw, no journal %.2f x raw\n", Median(unhideRatio), Median(unrecordedRatio));
    std::printf("  delete: %s %7.1f us  %s %6.1f us  %.2f x raw\n", remove[0].Name, Median(remove[0].Us), remove[1].Name,
                Median(remove[1].Us), Median(deleteRatio));
    std::printf("goals: unhide (journalled) within 2.0 x raw; delete within 2.0 x raw\n");
    return 0;
}
