#include "ui/ListView.h"

#include "base/StrUtils.h"

#include "ControlsFixture.h"
#include "Keys.h"
#include "RowNames.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

class ListViewTest : public TFormFixture {
protected:
    void SetUp() override {
        TFormFixture::SetUp();
        FList = Place(new TListView(FForm), 8, 8, 600, 400);
        FList->AddColumn(L"Name", 100);
        FList->AddColumn(L"Location", 300);
    }

    HWND Wnd() const { return FList->WindowHandle(); }

    void AddNames(const std::vector<std::wstring>& names) {
        for (const std::wstring& name : names) FList->AddItem(name, {L"C:\\" + name + L"\\"});
    }

    // Rows added outside an update reach the window a moment later.
    void WaitForWindowRows() {
        ASSERT_TRUE(WaitFor([this] { return ListView_GetItemCount(Wnd()) == FList->Count(); }));
        Pump();
    }

    std::vector<std::wstring> Captions() {
        std::vector<std::wstring> captions;
        for (int i = 0; i < FList->Count(); ++i) captions.push_back(FList->ItemCaption(i));
        return captions;
    }

    // What the window itself shows in a cell, asked the way a screen reader would.
    std::wstring WindowText(int row, int column) {
        wchar_t buffer[256] = {};
        ListView_GetItemText(Wnd(), row, column, buffer, 256);
        return buffer;
    }

    std::vector<std::wstring> WindowCaptions() {
        std::vector<std::wstring> captions;
        for (int i = 0; i < ListView_GetItemCount(Wnd()); ++i) captions.push_back(WindowText(i, 0));
        return captions;
    }

    std::vector<std::wstring> CheckedCaptions() {
        std::vector<std::wstring> checked;
        for (int i = 0; i < FList->Count(); ++i)
            if (FList->Checked(i)) checked.push_back(FList->ItemCaption(i));
        return checked;
    }

    int IndexOf(const std::wstring& caption) {
        std::vector<std::wstring> captions = Captions();
        auto it = std::find(captions.begin(), captions.end(), caption);
        return it == captions.end() ? -1 : static_cast<int>(it - captions.begin());
    }

    // A click on the row's check box.
    void ClickCheckBox(int row) {
        RECT bounds{};
        bounds.left = LVIR_BOUNDS;
        ASSERT_TRUE(SendMessageW(Wnd(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&bounds)));
        POINT at{bounds.left + 8, (bounds.top + bounds.bottom) / 2};
        LVHITTESTINFO hit{};
        hit.pt = at;
        ASSERT_EQ(ListView_HitTest(Wnd(), &hit), row);
        ASSERT_TRUE(hit.flags & LVHT_ONITEMSTATEICON);
        Click(Wnd(), at);
    }

    TListView* FList = nullptr;
};

// Names arrive in walk order; the list shows them by the user locale's order, which puts accented
// letters with their base letter and scripts in their own blocks (a code-unit order would not).
TEST_F(ListViewTest, KeepsRowsInLocaleNameOrderWhateverTheOrderTheyCameIn) {
    AddNames({L"zebra", L"\u00C4pfel", L"apple", L"Banane", L"\u00E9clair", L"\u042E\u043B\u0430",
              L"\u0410\u0431\u0440\u0438\u043A\u043E\u0441", L"\u65E5\u672C"});
    const std::vector<std::wstring> expected = {L"\u00C4pfel", L"apple", L"Banane", L"\u00E9clair", L"zebra",
                                                L"\u0410\u0431\u0440\u0438\u043A\u043E\u0441", L"\u042E\u043B\u0430",
                                                L"\u65E5\u672C"};
    EXPECT_EQ(Captions(), expected);
    Pump();
    EXPECT_EQ(WindowCaptions(), expected);
    EXPECT_EQ(WindowText(2, 1), L"C:\\Banane\\");
    EXPECT_EQ(FList->SubItem(2, 1), L"C:\\Banane\\");
    EXPECT_EQ(FList->SubItem(2, 2), L"");
}

TEST_F(ListViewTest, EqualNamesKeepTheOrderTheyCameIn) {
    FList->AddItem(L"same", {L"first"});
    FList->AddItem(L"other");
    FList->AddItem(L"same", {L"second"});
    ASSERT_EQ(FList->Count(), 3);
    EXPECT_EQ(FList->SubItem(1, 1), L"first");
    EXPECT_EQ(FList->SubItem(2, 1), L"second");
}

// The list keeps no check marks of its own: clicks and the space bar must reach the rows, and the
// marks must stay with their rows when new rows push them down.
TEST_F(ListViewTest, CheckMarksFollowClicksAndKeysAndStayWithTheirRows) {
    AddNames({L"b", L"d", L"f"});
    WaitForWindowRows();
    ClickCheckBox(1);
    EXPECT_EQ(CheckedCaptions(), std::vector<std::wstring>{L"d"});

    FList->SetItemIndex(2);
    SendMessageW(Wnd(), WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(Wnd(), WM_KEYUP, VK_SPACE, 0);
    Pump();
    EXPECT_EQ(CheckedCaptions(), (std::vector<std::wstring>{L"d", L"f"}));

    AddNames({L"e", L"a", L"c"});
    EXPECT_EQ(CheckedCaptions(), (std::vector<std::wstring>{L"d", L"f"}));
    WaitForWindowRows();
    ClickCheckBox(IndexOf(L"d"));  // the window's rows moved too: the click must hit "d" again
    EXPECT_EQ(CheckedCaptions(), std::vector<std::wstring>{L"f"});

    FList->SetChecked(0, true);
    EXPECT_EQ(CheckedCaptions(), (std::vector<std::wstring>{L"a", L"f"}));
    LVITEMW item{};
    item.mask = LVIF_STATE;
    item.stateMask = LVIS_STATEIMAGEMASK;
    ASSERT_TRUE(SendMessageW(Wnd(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(item.state & LVIS_STATEIMAGEMASK, INDEXTOSTATEIMAGEMASK(2u));
}

TEST_F(ListViewTest, SelectionStaysOnItsRowWhenRowsAreAddedOrDeletedAboveIt) {
    AddNames({L"m", L"x"});
    FList->SetItemIndex(0);
    AddNames({L"a", L"b", L"c"});
    Pump();
    EXPECT_EQ(FList->ItemIndex(), 3);
    EXPECT_EQ(FList->ItemCaption(FList->ItemIndex()), L"m");

    FList->Delete(IndexOf(L"b"));
    Pump();
    ASSERT_EQ(FList->ItemIndex(), 2);
    EXPECT_EQ(FList->ItemCaption(FList->ItemIndex()), L"m");
    EXPECT_EQ(ListView_GetNextItem(Wnd(), -1, LVNI_SELECTED), 2);
}

// Several rows can be selected; each stays selected wherever new or removed rows move it, and Ctrl+A
// selects them all, also when there are far more than a page.
TEST_F(ListViewTest, SelectedRowsStayWithTheirRowsAndCtrlASelectsAll) {
    auto selected = [this] {
        std::vector<std::wstring> names;
        for (int i : FList->SelectedIndices()) names.push_back(FList->ItemCaption(i));
        return names;
    };
    AddNames({L"m", L"q", L"x"});
    FList->SetSelected(0, true);
    FList->SetSelected(2, true);
    AddNames({L"a", L"n", L"z"});
    Pump();
    EXPECT_EQ(selected(), (std::vector<std::wstring>{L"m", L"x"}));
    FList->Delete(IndexOf(L"a"));
    FList->Delete(IndexOf(L"m"));
    Pump();
    EXPECT_EQ(selected(), std::vector<std::wstring>{L"x"});
    EXPECT_EQ(ListView_GetSelectedCount(Wnd()), 1u) << "the window agrees";

    std::vector<std::wstring> many;
    for (int i = 0; i < 500; ++i) many.push_back(L"r" + std::to_wstring(i));
    AddNames(many);
    WaitForWindowRows();
    TypeKey(Wnd(), 'A', ssCtrl);
    EXPECT_EQ(FList->SelectedIndices().size(), 504u);
    FList->Delete(0);
    AddNames({L"new"});
    Pump();
    const std::vector<int> rows = FList->SelectedIndices();
    EXPECT_EQ(rows.size(), 503u);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), IndexOf(L"new")), 0) << "the new row is not selected";
    FList->SetItemIndex(1);
    EXPECT_EQ(FList->SelectedIndices(), std::vector<int>{1});
}

// Space ticks the selected rows as one; a key handler sees every key first and can take it.
TEST_F(ListViewTest, SpaceTicksTheSelectionAsOneAndOnKeyDownComesFirst) {
    AddNames({L"a", L"b", L"c", L"d"});
    WaitForWindowRows();
    FList->SetChecked(1, true);
    FList->SetItemIndex(0);
    FList->SetSelected(1, true);
    FList->SetSelected(2, true);
    TypeKey(Wnd(), VK_SPACE);
    EXPECT_EQ(CheckedCaptions(), (std::vector<std::wstring>{L"a", L"b", L"c"}));
    TypeKey(Wnd(), VK_SPACE);
    EXPECT_TRUE(CheckedCaptions().empty());

    std::vector<std::pair<WORD, TShiftState>> seen;
    FList->OnKeyDown = [&seen](TObject*, WORD& key, TShiftState shift) {
        seen.emplace_back(key, shift);
        if (key == VK_SPACE) key = 0;
    };
    TypeKey(Wnd(), VK_SPACE);
    TypeKey(Wnd(), 'A', ssCtrl | ssShift);
    EXPECT_TRUE(CheckedCaptions().empty()) << "the handler took Space";
    EXPECT_EQ(seen, (std::vector<std::pair<WORD, TShiftState>>{{VK_SPACE, 0}, {'A', ssCtrl | ssShift}}));
    EXPECT_EQ(FList->SelectedIndices().size(), 3u) << "Ctrl+Shift+A is no Ctrl+A";
}

TEST_F(ListViewTest, DeleteRemovesOneRowAndKeepsTheOthersAndTheirMarks) {
    AddNames({L"c", L"a", L"d", L"b"});
    FList->SetChecked(3, true);  // "d"
    FList->Delete(1);            // "b"
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"a", L"c", L"d"}));
    EXPECT_EQ(CheckedCaptions(), std::vector<std::wstring>{L"d"});
    Pump();
    EXPECT_EQ(WindowCaptions(), (std::vector<std::wstring>{L"a", L"c", L"d"}));

    FList->Clear();
    EXPECT_EQ(FList->Count(), 0);
    EXPECT_EQ(ListView_GetItemCount(Wnd()), 0);
}

TEST_F(ListViewTest, IndexOutsideTheRowsIsAnError) {
    AddNames({L"a"});
    EXPECT_THROW(FList->ItemCaption(1), EListError);
    EXPECT_THROW(FList->Delete(-1), EListError);
    EXPECT_THROW(FList->SetChecked(5, true), EListError);
    EXPECT_EQ(FList->Count(), 1);
}

TEST_F(ListViewTest, HeaderClicksCanBeSwitchedOffAndOn) {
    HWND header = ListView_GetHeader(Wnd());
    ASSERT_TRUE(header);
    auto buttons = [header] { return (GetWindowLongPtrW(header, GWL_STYLE) & HDS_BUTTONS) != 0; };
    auto noSort = [this] { return (GetWindowLongPtrW(Wnd(), GWL_STYLE) & LVS_NOSORTHEADER) != 0; };
    EXPECT_TRUE(GetWindowLongPtrW(header, GWL_STYLE) & HDS_FULLDRAG);  // columns redrawn while a divider moves
    EXPECT_TRUE(buttons());
    FList->SetColumnClick(false);
    EXPECT_FALSE(buttons());
    EXPECT_TRUE(noSort());
    FList->SetColumnClick(true);
    EXPECT_TRUE(buttons());
    EXPECT_FALSE(noSort());
}

TEST_F(ListViewTest, AClickOnARowRaisesOnClick) {
    AddNames({L"a", L"b"});
    WaitForWindowRows();
    int clicks = 0;
    FList->OnClick = [&clicks](TObject*) { ++clicks; };
    RECT bounds{};
    bounds.left = LVIR_LABEL;
    SendMessageW(Wnd(), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&bounds));
    Click(Wnd(), {bounds.left + 10, (bounds.top + bounds.bottom) / 2});
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(FList->ItemIndex(), 1);
    EXPECT_TRUE(CheckedCaptions().empty());
}

// The window finds rows by their first letters through the list, which holds them.
TEST_F(ListViewTest, TypingALetterSelectsTheFirstRowStartingWithIt) {
    AddNames({L"delta", L"Charlie", L"alpha", L"bravo", L"charly"});
    WaitForWindowRows();
    SetFocus(Wnd());
    SendMessageW(Wnd(), WM_CHAR, L'c', 1);
    Pump();
    EXPECT_EQ(FList->ItemIndex(), IndexOf(L"Charlie"));
}

void ExpectSortedAndComplete(TListView& list, std::vector<std::wstring> added) {
    ASSERT_EQ(list.Count(), static_cast<int>(added.size()));
    std::vector<std::wstring> shown;
    for (int i = 0; i < list.Count(); ++i) shown.push_back(list.ItemCaption(i));
    for (std::size_t i = 1; i < shown.size(); ++i)
        ASSERT_LE(TListRows::Compare(shown[i - 1], shown[i]), 0) << "rows " << i - 1 << " and " << i;
    std::sort(shown.begin(), shown.end());
    std::sort(added.begin(), added.end());
    EXPECT_TRUE(shown == added);
}

// A new row repaints the page from its own place down, and nothing when it lands below the page.
TEST_F(ListViewTest, NewRowsRepaintOnlyThePageFromWhereTheyLand) {
    std::vector<std::wstring> names;
    for (int i = 0; i < 100; ++i) names.push_back(L"row" + std::to_wstring(1000 + i));
    AddNames(names);
    WaitForWindowRows();
    struct Case {
        const wchar_t* Name;
        int Index;  // where it lands; -1: below the page, nothing to repaint
    } cases[] = {{L"zzz", -1}, {L"row1004x", 5}, {L"aaa", 0}};
    for (const Case& c : cases) {
        ValidateRect(Wnd(), nullptr);
        Sleep(1100);  // longer than the list ever lets new rows wait: this one reaches the window at once
        FList->AddItem(c.Name);
        ASSERT_EQ(ListView_GetItemCount(Wnd()), FList->Count()) << "pushed by AddItem";
        RECT update{};
        const bool any = GetUpdateRect(Wnd(), &update, FALSE);
        if (c.Index < 0) {
            EXPECT_FALSE(any) << WideToUtf8(c.Name);
            continue;
        }
        RECT row{};
        ASSERT_TRUE(ListView_GetItemRect(Wnd(), c.Index, &row, LVIR_BOUNDS));
        EXPECT_TRUE(any) << WideToUtf8(c.Name);
        EXPECT_LE(update.top, row.top) << WideToUtf8(c.Name);
        if (c.Index > 0) {
            RECT above{};
            ASSERT_TRUE(ListView_GetItemRect(Wnd(), c.Index - 1, &above, LVIR_BOUNDS));
            EXPECT_GE(update.top, above.bottom) << "rows above it stay as they are";
        }
        Pump();
    }
}

TEST_F(ListViewTest, HundredThousandRowsAddedInBatchesAreAllThereInOrder) {
    const std::vector<std::wstring> names = ManyNames(100000);
    for (std::size_t start = 0; start < names.size(); start += 1000) {
        FList->BeginUpdate();
        for (std::size_t i = start; i < start + 1000; ++i) FList->AddItem(names[i], {L"C:\\"});
        FList->EndUpdate();
    }
    ExpectSortedAndComplete(*FList, names);
    Pump();
    EXPECT_EQ(ListView_GetItemCount(Wnd()), 100000);
    EXPECT_EQ(WindowText(99999, 0), FList->ItemCaption(99999));
}

// Rows added one at a time outside an update reach the window in batches of their own.
TEST_F(ListViewTest, RowsAddedOneByOneReachTheWindow) {
    const std::vector<std::wstring> names = ManyNames(5000);
    for (const std::wstring& name : names) FList->AddItem(name);
    EXPECT_EQ(FList->Count(), 5000);
    EXPECT_TRUE(WaitFor([this] { return ListView_GetItemCount(Wnd()) == 5000; }));
    ExpectSortedAndComplete(*FList, names);
    EXPECT_EQ(WindowText(0, 0), FList->ItemCaption(0));
    EXPECT_EQ(WindowText(4999, 0), FList->ItemCaption(4999));
}

}  // namespace

namespace {

// The storage alone: batches merged into the rows it holds, each row an object that keeps its address
// wherever the merge puts it; equal captions stay in the order they came in (the data), across batches too.
TEST(ListRowsMerge, BatchesLandInOrderAndRowsKeepTheirIdentity) {
    struct TCase {
        const char* Name;
        std::vector<std::vector<std::wstring>> Batches;
    } cases[] = {
        {"into an empty list", {{L"kiwi", L"apple", L"fig"}}},
        {"all before the rows held", {{L"m", L"n", L"o"}, {L"c", L"a", L"b"}}},
        {"all after the rows held", {{L"a", L"b"}, {L"y", L"x", L"z"}}},
        {"between and around", {{L"b", L"d", L"f"}, {L"g", L"a", L"e", L"c"}}},
        {"one row at a time", {{L"d"}, {L"b"}, {L"c"}, {L"a"}}},
        {"equal captions across batches", {{L"same", L"z", L"same"}, {L"same", L"a"}, {L"same"}}},
        {"many", {ManyNames(3000), ManyNames(5000), ManyNames(10)}},
    };
    for (const TCase& c : cases) {
        TListRows rows;
        int serial = 0;   // each row's data: the order it came in
        for (const auto& batch : c.Batches) {
            std::vector<const TListRow*> before;
            for (std::size_t i = 0; i < rows.SortedCount(); ++i) before.push_back(&rows[i]);
            for (const std::wstring& name : batch) rows.Add({name, {}, false, {}, serial++});
            rows.Merge();
            ASSERT_EQ(rows.SortedCount(), before.size() + batch.size()) << c.Name;
            // Every row held before is still the same object, found where it now is.
            for (const TListRow* row : before) {
                const std::size_t at = rows.IndexOf(row);
                ASSERT_NE(at, TListRows::npos) << c.Name;
                EXPECT_EQ(&rows[at], row) << c.Name;
            }
        }
        for (std::size_t i = 1; i < rows.SortedCount(); ++i) {
            const int order = TListRows::Compare(rows[i - 1].Caption, rows[i].Caption);
            ASSERT_LE(order, 0) << c.Name << ": rows " << i - 1 << " and " << i;
            if (order == 0) {
                EXPECT_LT(std::any_cast<int>(rows[i - 1].Data), std::any_cast<int>(rows[i].Data)) << c.Name;
            }
        }
    }
}

}  // namespace
