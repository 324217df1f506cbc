// bench_listview [rows]: times the result list's main paths with rows of random eight-letter names.
#include "ui/Application.h"
#include "ui/CustomForm.h"
#include "ui/ListView.h"

#include "tests/ui/controls/RowNames.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

void Time(const char* what, const std::function<void()>& work) {
    ULONGLONG start = GetTickCount64();
    work();
    std::printf("%-52s %7llu ms\n", what, GetTickCount64() - start);
}

// Until the window shows every row.
void Settle(TListView& list) {
    while (ListView_GetItemCount(list.WindowHandle()) != list.Count()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        Application().ProcessMessages();
    }
    Application().ProcessMessages();
}

}  // namespace

int main(int argc, char** argv) {
    const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
    Application().Initialize();
    TForm* form = new TForm(nullptr);
    form->SetBounds(0, 0, 760, 520);
    form->Show();
    auto* list = new TListView(form);
    list->SetParent(form);
    list->SetBounds(8, 8, 730, 480);
    for (const wchar_t* column : {L"Name", L"Location", L"Size", L"Modified"}) list->AddColumn(column, 120);
    list->HandleNeeded();
    const std::vector<std::wstring> names = ManyNames(static_cast<std::size_t>(rows));
    std::printf("%d rows\n", rows);

    Time("added one at a time, messages handled every 50 rows", [&] {
        for (int i = 0; i < rows; ++i) {
            list->AddItem(names[static_cast<std::size_t>(i)], {L"C:\\some\\folder\\", L"1KB", L"10/12/2026 12:00"});
            if (i % 50 == 0) Application().ProcessMessages();
        }
        Settle(*list);
    });
    Time("one more row merged and shown", [&] {
        list->AddItem(L"mmmm");
        (void)list->ItemIndex();  // merges the row and brings the window up to date
    });
    Time("ticked one by one", [&] {
        for (int i = list->Count() - 1; i >= 0; --i) list->SetChecked(i, true);
        Application().ProcessMessages();
    });
    Time("deleted from the last row, inside an update", [&] {
        list->BeginUpdate();
        for (int i = list->Count() - 1; i >= 0; --i) list->Delete(i);
        list->EndUpdate();
        Application().ProcessMessages();
    });
    Time("added in batches of 1000 (BeginUpdate/EndUpdate)", [&] {
        for (int start = 0; start < rows; start += 1000) {
            list->BeginUpdate();
            for (int i = start; i < start + 1000 && i < rows; ++i) list->AddItem(names[static_cast<std::size_t>(i)]);
            list->EndUpdate();
        }
        Settle(*list);
    });
    Time("storage alone: batches of 1000 merged (no window)", [&] {
        TListRows storage;
        for (int start = 0; start < rows; start += 1000) {
            for (int i = start; i < start + 1000 && i < rows; ++i) storage.Add({names[static_cast<std::size_t>(i)], {}, false, {}, {}});
            storage.Merge();
        }
    });
    Time("storage alone: sort keys of every row", [&] {
        std::size_t total = 0;
        for (const std::wstring& name : names) total += TListRows::SortKey(name).size();
        if (total == 0) std::printf("no keys\n");
    });
    // What the platform's list view takes to take in a new row count (under Wine it redraws its scroll
    // bars on the spot): the floor under bringing the window up to date.
    Time("the window told a new row count 100 times", [&] {
        for (int i = 0; i < 100; ++i)
            ListView_SetItemCountEx(list->WindowHandle(), list->Count() + i % 2, LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
        ListView_SetItemCountEx(list->WindowHandle(), list->Count(), LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
    });
    Time("cleared", [&] {
        list->Clear();
        Application().ProcessMessages();
    });
    TCustomForm::Free(form);
    return 0;
}
