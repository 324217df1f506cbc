// The skin component: the shipped default skin's values, the stored "SkinStream", properties and the
// load-completion rules with the skin manager.
#include "SkinTestKit.h"
#include "skin/data/SkinPlatform.h"
#include "skin/window/SkinManager.h"
#include "ui/Application.h"
#include "ui/FormReader.h"
#include "ui/Properties.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>

namespace {

std::vector<unsigned char> DefaultSkin() { return ReadWholeFile(std::string(CLARIVO_SKINS_DIR) + "/default.skn"); }

// The stored form of a packed skin: count and bytes, as a form description's hex block.
std::string StoredHex(const std::vector<unsigned char>& packed) {
    TSkinData holder(nullptr);
    SetSkinStream(holder, packed);
    TMemoryStream stored;
    holder.WriteSkinStream(stored);
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (size_t i = 0; i < stored.Bytes().size(); ++i) {
        if (i % 32 == 0) hex += "\n    ";
        hex += digits[stored.Bytes()[i] >> 4];
        hex += digits[stored.Bytes()[i] & 15];
    }
    return hex;
}

// Each test starts without a skin manager and leaves none behind.
class SkinDataTest : public ::testing::Test {
protected:
    ~SkinDataTest() override { FreeSkinManager(); }
};

class DefaultSkinTest : public SkinDataTest {
protected:
    static void SetUpTestSuite() {
        Skin = new TSkinData(nullptr);
        SetSkinStream(*Skin, DefaultSkin());
        Loaded = Skin->LoadSkin();
    }
    static void TearDownTestSuite() { delete Skin; }
    static TSkinData* Skin;
    static bool Loaded;
};
TSkinData* DefaultSkinTest::Skin = nullptr;
bool DefaultSkinTest::Loaded = false;

TEST_F(DefaultSkinTest, LoadsCompletely) {
    ASSERT_TRUE(Loaded);
    EXPECT_FALSE(Skin->SkinPending);
    EXPECT_EQ(Skin->SkinName, "");  // no "TitlebarSkin" section
    EXPECT_EQ(Skin->FaceColor, RGBOf(213, 222, 242));
    EXPECT_TRUE(Skin->FaceBrush);
}

TEST_F(DefaultSkinTest, HasTheElementsTheStoredSkinIsKnownBy) {
    const std::map<std::string, const TDataSkinObject*> present = {
        {"Progress", Skin->Progress.get()},         {"MenuBar", Skin->MenuBar.get()},
        {"GroupBoxEdge", Skin->GroupBoxEdge.get()}, {"GroupBox", Skin->GroupBox.get()},
        {"Tabs", Skin->Tabs.get()},                 {"StatusBarEdges", Skin->StatusBarEdges.get()},
        {"ToolBars", Skin->ToolBars.get()},         {"ComboButton", Skin->ComboButton.get()},
        {"SunkEdge", Skin->SunkEdge.get()},         {"ExtraImages", Skin->ExtraImages.get()},
        {"Headerbar", Skin->Headerbar.get()},       {"MenuItem", Skin->MenuItem.get()},
        {"MenuBackground", Skin->MenuBackground.get()}, {"Scrollbar", Skin->Scrollbar.get()},
        {"HorzScroll", Skin->HorzScroll.get()},     {"VertScroll", Skin->VertScroll.get()},
        {"HorzScrollThumb", Skin->HorzScrollThumb.get()}, {"VertScrollThumb", Skin->VertScrollThumb.get()}};
    for (const auto& [name, element] : present) {
        ASSERT_NE(element, nullptr) << name;
        EXPECT_FALSE(element->Bitmap->Empty()) << name;
    }
    EXPECT_FALSE(Skin->Tabs->Bitmap2->Empty());
    const std::map<std::string, const TDataSkinObject*> absent = {
        {"ProgressChunk", Skin->ProgressChunk.get()},   {"TabPane", Skin->TabPane.get()},
        {"ThumbHorz", Skin->TrackbarThumbHorz.get()},   {"ThumbVert", Skin->TrackbarThumbVert.get()},
        {"ThumbLeft", Skin->TrackbarThumbLeft.get()},   {"ThumbRight", Skin->TrackbarThumbRight.get()},
        {"ThumbUp", Skin->TrackbarThumbUp.get()},       {"ThumbDown", Skin->TrackbarThumbDown.get()},
        {"UpDownHorz", Skin->UpDownHorz.get()},         {"UpDownVert", Skin->UpDownVert.get()}};
    for (const auto& [name, element] : absent) EXPECT_EQ(element, nullptr) << name;
    ASSERT_TRUE(Skin->Track && Skin->TrackVert);
    EXPECT_EQ(Skin->Track->Name, "TRACK");
    EXPECT_EQ(Skin->TrackVert->Name, "TRACKVERT");
    EXPECT_TRUE(Skin->Title->Bitmap->Empty());
    EXPECT_EQ(Skin->Progress->Tile, 1);  // "Tile=2"
}

TEST_F(DefaultSkinTest, ButtonsAndColourTable) {
    const TDataSkinButton& b = *Skin->Buttons;
    EXPECT_EQ(b.NormalColour, 1);
    ASSERT_GT(Skin->ColourTable.size(), 1u);
    EXPECT_EQ(Skin->ColourTable[1], RGBOf(59, 97, 131));
    EXPECT_EQ(b.TopHeight, 9);
    EXPECT_EQ(b.BottomHeight, 6);
    EXPECT_EQ(b.LeftWidth, 5);
    EXPECT_EQ(b.RightWidth, 5);
    EXPECT_EQ(b.Trans, 1);
    EXPECT_EQ(b.Tile, 0);
    EXPECT_EQ(b.FrameCount, 5);
    EXPECT_EQ(b.CheckBitmap->Width(), 65);
    EXPECT_EQ(b.CheckBitmap->Height(), 13);
    EXPECT_EQ(b.CheckFrameCount, 5);
    EXPECT_EQ(b.RadioFrameCount, 5);
}

TEST_F(DefaultSkinTest, CaptionButtons) {
    const auto& buttons = Skin->CaptionButtons;
    ASSERT_EQ(buttons.size(), 7u);
    const char* names[] = {"BUTTON0", "BUTTON1", "BUTTON3", "BUTTON4"};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(buttons[i]->Name, names[i]);
        EXPECT_EQ(buttons[i]->FrameCount, 6) << names[i];
    }
    EXPECT_EQ(buttons[0]->Bitmap->Width(), 96);
    EXPECT_EQ(buttons[0]->Bitmap->Height(), 16);
    EXPECT_EQ(buttons[3]->Action, 3);
    EXPECT_TRUE(buttons[3]->Bitmap->Empty());
    const int xcoords[] = {57, 38, 19};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(buttons[4 + i]->Bitmap->Width(), 60);
        EXPECT_EQ(buttons[4 + i]->Bitmap->Height(), 15);
        EXPECT_EQ(buttons[4 + i]->XCoord, xcoords[i]);
    }
}

TEST_F(DefaultSkinTest, DerivedComboImages) {
    const int bw = GetSystemMetrics(SM_CXHSCROLL) + 2;
    const TDataSkinBorder& combo = *Skin->ComboButton;
    EXPECT_EQ(combo.Style, 2);
    EXPECT_EQ(combo.Bitmap->Width(), 200);
    EXPECT_EQ(combo.Bitmap->Height(), 21);
    EXPECT_EQ(combo.FrameCount, 4);
    EXPECT_EQ(combo.LeftWidth, 2);
    EXPECT_EQ(combo.RightWidth, bw + 2);
    EXPECT_EQ(combo.TopHeight, Skin->SunkEdge->TopHeight);
    const TDataSkinObject& sunk = *Skin->SunkEdge;
    EXPECT_EQ(sunk.LeftWidth, bw + 2);
    EXPECT_EQ(sunk.RightWidth, 2);
    // The edit area of every frame is transparent; the mirrored strip holds the same frames in the same
    // order, each turned the other way.
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(PixelAt(*combo.Bitmap, 50 * k + 10, 10), Magenta);
        for (int x : {0, 1, 30, 49})
            for (int y : {0, 10, 20})
                ASSERT_EQ(PixelAt(*sunk.Bitmap, 50 * k + 49 - x, y), PixelAt(*combo.Bitmap, 50 * k + x, y));
    }
    // The arrow cells are the 17 x 17 buttons two pixels in from each frame's right and top.
    const TDataSkinObject& arrow = *Skin->ComboArrow;
    EXPECT_EQ(arrow.Name, "ComboxArrow");
    EXPECT_EQ(arrow.Bitmap->Width(), 68);
    EXPECT_EQ(arrow.Bitmap->Height(), 17);
    EXPECT_EQ(arrow.FrameCount, 4);
    for (int i = 0; i < 4; ++i)
        for (int p : {0, 8, 16}) ASSERT_EQ(PixelAt(*arrow.Bitmap, 17 * i + p, p), PixelAt(*combo.Bitmap, 50 * (i + 1) - 19 + p, 2 + p));
}

TEST_F(DefaultSkinTest, FrameColourAndToolbarGradient) {
    EXPECT_EQ(Skin->BorderTop->Bitmap->Width(), 250);
    EXPECT_EQ(Skin->BorderTop->Bitmap->Height(), 48);
    EXPECT_EQ(Skin->BorderTop->FrameCount, 2);
    EXPECT_EQ(Skin->FrameColor, RGBOf(82, 134, 222));
    const TDataSkinObject& back = *Skin->ToolbarBack;
    EXPECT_EQ(back.Name, "Toolbar");
    EXPECT_EQ(back.FrameCount, 1);
    ASSERT_EQ(back.Bitmap->Width(), 10);
    ASSERT_EQ(back.Bitmap->Height(), 40);
    EXPECT_EQ(PixelAt(*back.Bitmap, 0, 0), RGBOf(249, 250, 253));
    EXPECT_EQ(PixelAt(*back.Bitmap, 9, 39), RGBOf(149, 181, 235));
}

// The graphite skin names every section and key the loaders read.
TEST_F(SkinDataTest, GraphiteSkinFillsEveryElement) {
    TSkinData skin(nullptr);
    SetSkinStream(skin, ReadWholeFile(std::string(CLARIVO_SKINS_DIR) + "/graphite.skn"));
    ASSERT_TRUE(skin.LoadSkin());
    EXPECT_EQ(skin.SkinName, "Graphite");
    const TDataSkinObject* elements[] = {
        skin.Progress.get(), skin.ProgressChunk.get(), skin.MenuBar.get(), skin.GroupBoxEdge.get(),
        skin.GroupBox.get(), skin.Tabs.get(), skin.StatusBarEdges.get(), skin.TabPane.get(), skin.ToolBars.get(),
        skin.ComboButton.get(), skin.SunkEdge.get(), skin.ExtraImages.get(), skin.Headerbar.get(),
        skin.MenuItem.get(), skin.MenuBackground.get(), skin.Scrollbar.get(), skin.HorzScroll.get(),
        skin.VertScroll.get(), skin.HorzScrollThumb.get(), skin.VertScrollThumb.get(), skin.TrackbarThumbHorz.get(),
        skin.TrackbarThumbVert.get(), skin.TrackbarThumbLeft.get(), skin.TrackbarThumbRight.get(),
        skin.TrackbarThumbUp.get(), skin.TrackbarThumbDown.get(), skin.UpDownHorz.get(), skin.UpDownVert.get(),
        skin.Track.get(), skin.TrackVert.get(), skin.ComboArrow.get(), skin.ToolbarBack.get()};
    for (size_t i = 0; i < std::size(elements); ++i) {
        ASSERT_NE(elements[i], nullptr) << i;
        EXPECT_FALSE(elements[i]->Bitmap->Empty()) << elements[i]->Name;
        EXPECT_GT(elements[i]->FrameCount, 0) << elements[i]->Name;
    }
    EXPECT_EQ(skin.Track->Name, "Track");  // the skin's own channel, not the program's
    EXPECT_FALSE(skin.UpDownHorz->Bitmap2->Empty());
    EXPECT_EQ(skin.UpDownVert->FrameCount, 8);
    EXPECT_FALSE(skin.Title->Bitmap->Empty());
    EXPECT_EQ(skin.Title->ActiveTextColor, RGBOf(240, 242, 244));
    EXPECT_EQ(skin.Title->InactiveTextColor, RGBOf(60, 64, 70));
    for (const TDataSkinObject* edge : {skin.BorderLeft.get(), skin.BorderTop.get(), skin.BorderRight.get(),
                                         skin.BorderBottom.get()})
        EXPECT_FALSE(edge->Bitmap->Empty()) << edge->Name;
    // BUTTON0 to BUTTON9 all stay (the one switched off is visible in no state), then the three of a
    // maximised child window with their images cut from the MDI image.
    ASSERT_EQ(skin.CaptionButtons.size(), 13u);
    EXPECT_EQ(skin.CaptionButtons[8]->Action, -1);
    EXPECT_EQ(skin.CaptionButtons[8]->FrameCount, 2);
    for (size_t i = 10; i < 13; ++i) EXPECT_FALSE(skin.CaptionButtons[i]->Bitmap->Empty());
}

TEST_F(SkinDataTest, DerivedImagesOfASkinWithoutComboParts) {
    // A grey frame counts as saturation 200: the bottom of the gradient is 54 % frame colour, 46 % white.
    auto skin = LoadedSkin("[Personality]\nTop=top.bmp\nTopFrame=2\n[Colours]\nButtonFace=200 200 200\n",
                           {{"top.bmp", BmpBytes(*MakeBitmap(90, 60, [](int x, int y) {
                                 return x == 30 && y == 10 ? RGBOf(100, 100, 100) : clBlack;
                             }))}});
    EXPECT_EQ(skin->FrameColor, RGBOf(100, 100, 100));
    EXPECT_EQ(PixelAt(*skin->ToolbarBack->Bitmap, 0, 39), RGBOf(171, 171, 171));
    ASSERT_TRUE(skin->ComboArrow);
    EXPECT_TRUE(skin->ComboArrow->Bitmap->Empty());
    EXPECT_FALSE(skin->ComboButton);
}

TEST_F(SkinDataTest, DerivedElementsAreKeptAcrossLoads) {
    auto skin = std::make_unique<TSkinData>(nullptr);
    SetSkinStream(*skin, DefaultSkin());
    ASSERT_TRUE(skin->LoadSkin());
    TDataSkinObject* arrow = skin->ComboArrow.get();
    TDataSkinObject* back = skin->ToolbarBack.get();
    SetSkinStream(*skin, PackSkin("", {}));
    ASSERT_TRUE(skin->LoadSkin());
    EXPECT_EQ(skin->ComboArrow.get(), arrow);
    EXPECT_EQ(skin->ComboArrow->Bitmap->Width(), 68);  // nothing to cut a new one from
    EXPECT_EQ(skin->ToolbarBack.get(), back);
    EXPECT_FALSE(skin->ComboButton || skin->SunkEdge);
    EXPECT_EQ(skin->CaptionButtons.size(), 3u);
}

TEST_F(SkinDataTest, StartsWithItsDefaults) {
    TSkinData skin(nullptr);
    EXPECT_FALSE(skin.Active());
    EXPECT_EQ(skin.DisableTag(), 99);
    EXPECT_EQ(skin.SkinControls(), 0x1FFFFBu);
    EXPECT_EQ(skin.Options(), SkinBit(xoPreview) | SkinBit(xoToolbarBK));
    EXPECT_EQ(skin.SkinFormtype(), sfMainform);
    EXPECT_EQ(skin.Version(), L"4.12.07.30");
    EXPECT_TRUE(skin.MenuUpdate());
    EXPECT_FALSE(skin.MenuMerge());
    EXPECT_TRUE(skin.SkinPending);
    EXPECT_TRUE(skin.NCPaintEnabled);
    EXPECT_EQ(skin.MaximizedWidth, GetSystemMetrics(SM_CXMAXIMIZED));
    EXPECT_EQ(skin.BorderLeft->Name, "Left");
    EXPECT_EQ(skin.BorderBottom->Name, "Bottom");
    EXPECT_EQ(skin.Buttons->Name, "Buttons");
    EXPECT_EQ(skin.Title->Name, "Title");
    EXPECT_TRUE(skin.AppIconBitmap->Empty());
    ASSERT_TRUE(skin.MenuGlyphs);
    EXPECT_EQ(skin.MenuGlyphs->Count(), 4);
}

TEST_F(SkinDataTest, BuiltInListMapsEachClassToOneKind) {
    TSkinData skin(nullptr);
    const auto& lines = skin.Skin3rd();
    EXPECT_EQ(lines.size(), 117u);
    std::map<std::wstring, std::wstring> kinds;
    std::set<std::wstring> distinct;
    for (const std::wstring& line : lines) {
        const size_t eq = line.find(L'=');
        ASSERT_NE(eq, std::wstring::npos);
        auto [it, added] = kinds.emplace(line.substr(0, eq), line.substr(eq + 1));
        if (!added) {
            EXPECT_EQ(it->second, line.substr(eq + 1)) << std::string(line.begin(), line.end());
        }
        distinct.insert(line);
    }
    EXPECT_EQ(distinct.size(), 114u);  // three lines stand twice
    EXPECT_EQ(kinds[L"TLMDFontSizeCombobox"], L"combobox");
    EXPECT_EQ(kinds[L"TRzMenuButton"], L"menubtn");

    // As one text (how a description stores it) the lines come back the same.
    TSkinData copy(nullptr);
    copy.SetSkin3rdText(L"A=panel\r\nB=edit\nC=button");
    EXPECT_EQ(copy.Skin3rd(), (std::vector<std::wstring>{L"A=panel", L"B=edit", L"C=button"}));
    copy.SetSkin3rdText(skin.Skin3rdText());
    EXPECT_EQ(copy.Skin3rd(), lines);
}

TEST_F(SkinDataTest, SkinStoreAndVersionIgnoreWrites) {
    TSkinData skin(nullptr);
    SetSkinStream(skin, DefaultSkin());
    EXPECT_EQ(ReadStringProperty(&skin, "SkinStore"), L"(none)");
    EXPECT_TRUE(WritePropertyText(&skin, "SkinStore", L"(Good)"));
    EXPECT_TRUE(WritePropertyText(&skin, "Version", L"1.0"));
    EXPECT_EQ(ReadStringProperty(&skin, "SkinStore"), L"(none)");
    EXPECT_EQ(ReadStringProperty(&skin, "Version"), L"4.12.07.30");
}

TEST_F(SkinDataTest, StoredSkinStreamRoundTrips) {
    const std::vector<unsigned char> packed = DefaultSkin();
    TSkinData writer(nullptr);
    SetSkinStream(writer, packed);
    TMemoryStream stored;
    writer.WriteSkinStream(stored);
    ASSERT_EQ(stored.Bytes().size(), packed.size() + 4);
    stored.SetPosition(0);
    TSkinData reader(nullptr);
    ASSERT_TRUE(reader.ReadBinaryProperty("SkinStream", stored));
    EXPECT_EQ(reader.SkinStream.Bytes(), packed);
    EXPECT_FALSE(reader.SkinPending);  // loaded at once

    TSkinData empty(nullptr);
    TMemoryStream none;
    empty.WriteSkinStream(none);
    EXPECT_EQ(none.Bytes(), (std::vector<unsigned char>{0, 0, 0, 0}));
    none.SetPosition(0);
    empty.ReadSkinStream(none);
    EXPECT_TRUE(empty.SkinPending);
    EXPECT_FALSE(empty.ReadBinaryProperty("Other", none));
}

TEST_F(SkinDataTest, StoredSkinStreamStatingMoreThanItHoldsIsRefused) {
    TMemoryStream stored;
    const int32_t count = 1000;
    stored.WriteBuffer(&count, 4);
    stored.WriteBuffer("abc", 3);
    stored.SetPosition(0);
    TSkinData skin(nullptr);
    EXPECT_THROW(skin.ReadSkinStream(stored), EReadError);
    EXPECT_TRUE(skin.SkinPending);
    TMemoryStream shortCount(std::vector<unsigned char>{1, 2});
    EXPECT_THROW(skin.ReadSkinStream(shortCount), EReadError);
}

TEST_F(SkinDataTest, FormDescriptionCreatesAndLoadsTheComponent) {
    TComponent root(nullptr);
    const std::string text = "object Root: TComponent\n"
                             "  object SkinData1: TSkinData\n"
                             "    Active = True\n"
                             "    DisableTag = 99\n"
                             "    SkinControls = [xcMainMenu, xcPopupMenu, xcToolbar, xcCombo, xcScrollbar, xcSystemMenu]\n"
                             "    Options = [xoPreview, xoToolbarBK]\n"
                             "    SkinStore = '(Good)'\n"
                             "    SkinFormtype = sfMainform\n"
                             "    MenuUpdate = True\n"
                             "    MenuMerge = False\n"
                             "    SkinStream = {" + StoredHex(DefaultSkin()) + "}\n"
                             "  end\n"
                             "end\n";
    TFormReader(root, nullptr).Read(text);
    auto* skin = dynamic_cast<TSkinData*>(root.FindComponent("SkinData1"));
    ASSERT_NE(skin, nullptr);
    EXPECT_FALSE(skin->SkinPending);
    EXPECT_EQ(skin->CaptionButtons.size(), 7u);
    EXPECT_TRUE(skin->Active());
    EXPECT_EQ(skin->SkinControls(), SkinBit(xcMainMenu) | SkinBit(xcPopupMenu) | SkinBit(xcToolbar) |
                                        SkinBit(xcCombo) | SkinBit(xcScrollbar) | SkinBit(xcSystemMenu));
    ASSERT_NE(SkinManager, nullptr);
    EXPECT_EQ(SkinManager->DefaultSkin(), skin);
    EXPECT_TRUE(SkinManager->HookInstalled());
    // No window activated yet: the activation request switched skinning on at once.
    EXPECT_TRUE(SkinManager->Active);
    EXPECT_FALSE(SkinManager->ChangeScheduled());
    EXPECT_EQ(SkinManager->PendingChange(), scActivate);
}

TEST_F(SkinDataTest, LoadedWithoutASkinSwitchesActiveOff) {
    TComponent root(nullptr);
    TFormReader(root, nullptr)
        .Read("object Root: TComponent\n  object SkinData1: TSkinData\n    Active = True\n    SkinStream = {00000000}\n"
              "  end\nend\n");
    auto* skin = dynamic_cast<TSkinData*>(root.FindComponent("SkinData1"));
    ASSERT_NE(skin, nullptr);
    EXPECT_TRUE(skin->SkinPending);
    EXPECT_FALSE(skin->Active());
    EXPECT_FALSE(SkinManager->Active);
    EXPECT_EQ(SkinManager->PendingChange(), scNone);
}

TEST_F(SkinDataTest, LoadedKeepsOneOfMenuItemAndSystemMenu) {
    struct TCase {
        TSkinFormType Type;
        TSkinControlTypes Controls, Expected;
    };
    const TSkinControlTypes both = SkinBit(xcMenuItem) | SkinBit(xcSystemMenu);
    const TCase cases[] = {
        {sfMainform, SkinBit(xcMainMenu) | both, SkinBit(xcMainMenu) | SkinBit(xcSystemMenu)},
        {sfMainform, both, SkinBit(xcMenuItem)},
        {sfOnlyThisForm, both, both},
        {sfDialog, SkinBit(xcMainMenu) | both, SkinBit(xcMainMenu) | both},
    };
    for (const TCase& c : cases) {
        TSkinData skin(nullptr);
        skin.SetSkinFormtype(c.Type);
        skin.SetSkinControls(c.Controls);
        skin.Loaded();
        EXPECT_EQ(skin.SkinControls(), c.Expected) << c.Type;
        FreeSkinManager();
    }
}

TEST_F(SkinDataTest, OtherFormTypesStartTheManagerAtOnce) {
    TSkinData skin(nullptr);
    skin.SetSkinFormtype(sfDialog);
    skin.Loaded();
    ASSERT_NE(SkinManager, nullptr);
    EXPECT_TRUE(SkinManager->Active);
    EXPECT_EQ(SkinManager->State, smRunning);
    EXPECT_FALSE(SkinManager->HookInstalled());
    EXPECT_EQ(SkinManager->DefaultSkin(), nullptr);
}

TEST_F(SkinDataTest, WithoutGetScrollBarInfoScrollBarsAreNotSkinned) {
    auto saved = SkinPlatform().GetScrollBarInfo;
    ASSERT_NE(saved, nullptr);
    SkinPlatform().GetScrollBarInfo = nullptr;
    TSkinData skin(nullptr);
    skin.Loaded();
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    EXPECT_FALSE(SkinGetScrollBarInfo(Application().Handle(), OBJID_HSCROLL, info));
    SkinPlatform().GetScrollBarInfo = saved;
    EXPECT_FALSE(skin.HasControl(xcScrollbar));
    EXPECT_TRUE(skin.HasControl(xcCombo));
}

TEST_F(SkinDataTest, ActiveRequestsFollowThePendingSkinAndTheFormType) {
    TSkinData pending(nullptr);
    pending.SetActive(true);  // nothing to show yet
    ASSERT_NE(SkinManager, nullptr);
    EXPECT_EQ(SkinManager->PendingChange(), scNone);
    EXPECT_EQ(SkinManager->Requester, nullptr);

    TSkinData skin(nullptr);
    SetSkinStream(skin, DefaultSkin());
    ASSERT_TRUE(skin.LoadSkin());
    skin.SetActive(true);
    EXPECT_EQ(SkinManager->PendingChange(), scActivate);
    EXPECT_TRUE(SkinManager->Active);  // before any activation: at once
    EXPECT_EQ(SkinManager->State, smRunning);
    skin.SetActive(false);  // now through the timer
    EXPECT_EQ(SkinManager->PendingChange(), scDeactivate);
    EXPECT_TRUE(SkinManager->ChangeScheduled());
    EXPECT_EQ(SkinManager->Requester, &skin);

    int changed = 0;
    skin.OnSkinChanged = [&](TObject* sender) { changed += sender == &skin; };
    SkinManager->ApplyChange();
    EXPECT_EQ(changed, 1);
    EXPECT_FALSE(SkinManager->Active);
    EXPECT_FALSE(SkinManager->ChangeScheduled());
    EXPECT_EQ(SkinManager->Requester, nullptr);

    TSkinData dialog(nullptr);
    dialog.SetSkinFormtype(sfDialog);
    dialog.SetActive(true);
    EXPECT_EQ(SkinManager->PendingChange(), scDeactivate);  // dialogs ask for nothing
    EXPECT_EQ(SkinManager->Requester, nullptr);
}

TEST_F(SkinDataTest, OneFormComponentsAskForTheirOwnChanges) {
    TSkinData own(nullptr);
    own.SetSkinFormtype(sfOnlyThisForm);
    own.SetActive(true);  // no skin yet: the component asks, but nothing is requested
    ASSERT_NE(SkinManager, nullptr);
    EXPECT_EQ(SkinManager->Requester, &own);
    EXPECT_EQ(SkinManager->PendingChange(), scNone);
    own.SetActive(false);
    EXPECT_EQ(SkinManager->PendingChange(), scDeactivate);

    SetSkinStream(own, DefaultSkin());
    ASSERT_TRUE(own.LoadSkin());
    own.SetActive(true);
    EXPECT_EQ(SkinManager->PendingChange(), scActivate);
    EXPECT_EQ(SkinManager->State, smWaiting);  // only the main form's component starts the manager
    EXPECT_TRUE(SkinManager->Active);
}

TEST_F(SkinDataTest, TheDelayedChangeRunsOnTheTimer) {
    TSkinData skin(nullptr);
    SetSkinStream(skin, DefaultSkin());
    ASSERT_TRUE(skin.LoadSkin());
    TSkinManage& manager = CreateSkinManager();
    manager.State = smRunning;
    bool changed = false;
    skin.OnSkinChanged = [&](TObject*) { changed = true; };
    skin.SetActive(true);
    EXPECT_FALSE(manager.Active);
    for (int i = 0; i < 200 && !changed; ++i) {
        Application().ProcessMessages();
        Sleep(10);
    }
    EXPECT_TRUE(changed);
    EXPECT_TRUE(manager.Active);
}

TEST_F(SkinDataTest, ManagerForgetsComponentsThatGo) {
    auto first = std::make_unique<TSkinData>(nullptr);
    TSkinData dialog(nullptr);
    dialog.SetSkinFormtype(sfDialog);
    TSkinManage& manager = CreateSkinManager();
    manager.RegisterSkinData(&dialog);
    manager.RegisterSkinData(first.get());
    manager.RegisterSkinData(first.get());
    EXPECT_EQ(manager.SkinList().size(), 2u);
    EXPECT_EQ(manager.DefaultSkin(), first.get());
    manager.Requester = first.get();
    first.reset();
    EXPECT_EQ(manager.SkinList(), (std::vector<TSkinData*>{&dialog}));
    EXPECT_EQ(manager.DefaultSkin(), nullptr);
    EXPECT_EQ(manager.Requester, nullptr);
}

TEST_F(SkinDataTest, ASkinFreedAfterTheManagerAsksNoManager) {
    // However the manager goes, the process's pointer to it goes too: a skin component freed afterwards
    // finds no manager to leave rather than a freed one.
    const std::pair<const char*, void (*)()> ways[] = {
        {"FreeSkinManager", [] { FreeSkinManager(); }},
        {"the manager's own destructor", [] { delete SkinManager; }},
    };
    for (const auto& [way, freeManager] : ways) {
        auto skin = std::make_unique<TSkinData>(nullptr);
        skin->Loaded();
        ASSERT_NE(SkinManager, nullptr) << way;
        ASSERT_EQ(SkinManager->DefaultSkin(), skin.get()) << way;
        freeManager();
        const TSkinManage* left = std::exchange(SkinManager, nullptr);  // never a freed one for what follows
        EXPECT_EQ(left, nullptr) << way;
        skin.reset();
        EXPECT_EQ(SkinManager, nullptr) << way << ": freeing the skin made a new manager";
    }
}

TEST_F(SkinDataTest, CheckFormSkinVetoes) {
    TSkinData skin(nullptr);
    struct TCase {
        const wchar_t* ClassName;
        bool FastReport, Expected;
    };
    const TCase cases[] = {{L"SysMonthCal32", false, false}, {L"sysmonthcal32", false, true},
                           {L"TfrPreviewForm", true, false}, {L"TfrPreviewForm", false, true},
                           {L"TFRPreview", true, true},      {L"TForm1", true, true}};
    for (const TCase& c : cases) {
        skin.SetSkinControls(c.FastReport ? DefaultSkinControls | SkinBit(xcFastReport) : DefaultSkinControls);
        bool doSkin = true;
        skin.CheckFormSkin(HWND(1), c.ClassName, doSkin);
        EXPECT_EQ(doSkin, c.Expected) << std::string(c.ClassName, c.ClassName + wcslen(c.ClassName));
        EXPECT_EQ(skin.FormSkinWindow, HWND(1));
        doSkin = false;
        skin.CheckFormSkin(nullptr, c.ClassName, doSkin);
        EXPECT_FALSE(doSkin);  // never switched on here
    }
    // An assigned event alone decides.
    skin.OnFormSkin = [](TObject*, const std::wstring& name, bool& doSkin) { doSkin = name == L"SysMonthCal32"; };
    bool doSkin = false;
    skin.CheckFormSkin(nullptr, L"SysMonthCal32", doSkin);
    EXPECT_TRUE(doSkin);
}

TEST_F(SkinDataTest, SkinFileLoadsAnExistingFileOnly) {
    TSkinData skin(nullptr);
    SetSkinStream(skin, DefaultSkin());
    ASSERT_TRUE(skin.LoadSkin());
    skin.SetSkinFile(L"Z:\\no such folder\\nothing.skn");
    EXPECT_TRUE(skin.SkinPending);
    EXPECT_EQ(skin.SkinFile(), L"Z:\\no such folder\\nothing.skn");

    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"clarivo-skin-model-test.skn";
    const std::vector<unsigned char> packed = PackSkin("[Colours]\nButtonFace=1 2 3\n", {});
    TMemoryStream(packed).SaveToFile(path);
    skin.SetSkinFile(path);
    DeleteFileW(path.c_str());
    EXPECT_FALSE(skin.SkinPending);
    EXPECT_EQ(skin.FaceColor, RGBOf(1, 2, 3));
    EXPECT_EQ(skin.SkinStream.Bytes(), packed);
    ASSERT_NE(SkinManager, nullptr);  // the new skin is offered to the manager
}

TEST_F(SkinDataTest, ApplicationIconBitmapOnMagenta) {
    TSkinData skin(nullptr);
    skin.MakeAppIconBitmap();
    EXPECT_TRUE(skin.AppIconBitmap->Empty());  // the application window has no icon yet
    HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
    SendMessageW(Application().Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    skin.MakeAppIconBitmap();
    SendMessageW(Application().Handle(), WM_SETICON, ICON_BIG, 0);
    EXPECT_EQ(skin.AppIconBitmap->Width(), GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(skin.AppIconBitmap->Height(), GetSystemMetrics(SM_CYSMICON));
    EXPECT_TRUE(skin.AppIconBitmap->Transparent());
    EXPECT_EQ(skin.AppIconBitmap->TransparentColor(), Magenta);

    skin.LoadCaptionFont();
    EXPECT_FALSE(skin.CaptionFont->Name().empty());
}

TEST(SkinResources, SystemMenuGlyphsAreWhereTheMenuExpectsThem) {
    TBitmap glyphs;
    glyphs.LoadFromResourceName(GetModuleHandleW(nullptr), L"ORRERYMENU");
    ASSERT_EQ(glyphs.Width(), 64);
    ASSERT_EQ(glyphs.Height(), 16);
    EXPECT_EQ(glyphs.PixelFormat(), pf1bit);
    auto black = [&](int glyph, int x, int y) { return PixelAt(glyphs, 16 * glyph + x, y) == clBlack; };
    // 1 maximise: outline 3..12 with a two-pixel top.
    EXPECT_TRUE(black(1, 3, 3) && black(1, 12, 12) && black(1, 7, 4) && black(1, 3, 8));
    EXPECT_FALSE(black(1, 7, 5) || black(1, 2, 3) || black(1, 13, 12));
    // 2 minimise: a bar from 5 to 11 on rows 7 and 8.
    EXPECT_TRUE(black(2, 5, 7) && black(2, 11, 8));
    EXPECT_FALSE(black(2, 4, 7) || black(2, 12, 8) || black(2, 8, 6) || black(2, 8, 9));
    // 3 close: a cross from x 3 to 11 over rows 4 to 12.
    EXPECT_TRUE(black(3, 3, 4) && black(3, 11, 4) && black(3, 7, 8) && black(3, 3, 12) && black(3, 11, 12));
    EXPECT_FALSE(black(3, 7, 4) || black(3, 3, 8) || black(3, 7, 3) || black(3, 7, 13));
    // 0 restore: the front window's title bar and the back window's outline beside it.
    EXPECT_TRUE(black(0, 3, 6) && black(0, 3, 7) && black(0, 12, 3) && black(0, 10, 12));
    EXPECT_FALSE(black(0, 6, 10));
}

}  // namespace
