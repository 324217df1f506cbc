// The element loaders, through TSkinData::LoadSkin on small skins made for each rule.
#include "SkinTestKit.h"
#include "skin/data/SkinReader.h"
#include "skin/data/SkinMessage.h"
#include "ui/Errors.h"

#include <gtest/gtest.h>

namespace {

TEST(SkinLoader, AnElementWithoutImageIsAbsentEvenWithOtherKeys) {
    auto skin = LoadedSkin("[Scrollbar]\nLeftWidth=3\nFrame=23\n[HorzScroll]\nImage=h.bmp\nLeftWidth=4\n",
                           {{"h.bmp", SolidBmp(8, 2, clBlack)}});
    EXPECT_FALSE(skin->Scrollbar);
    ASSERT_TRUE(skin->HorzScroll);
    EXPECT_EQ(skin->HorzScroll->LeftWidth, 4);
    EXPECT_EQ(skin->HorzScroll->Name, "HorzScroll");
    EXPECT_EQ(skin->HorzScroll->Bitmap->Width(), 8);
}

TEST(SkinLoader, ImageValuesNameBitmapMembersOnly) {
    // A folder in front is ignored, the extension must be exactly ".bmp", and a member the archive
    // lacks gives an empty image (the element still exists).
    auto skin = LoadedSkin(
        "[MenuItem]\nImage=C:\\skins\\blue\\item.bmp\n[MenuBackground]\nImage=back.tga\n[Headerbar]\nImage=gone.bmp\n"
        "[ExtraImages]\nImage=item.BMP\n",
        {{"item.bmp", SolidBmp(10, 4, clBlack)}, {"back.tga", SolidBmp(3, 3, clBlack)}});
    ASSERT_TRUE(skin->MenuItem && skin->MenuBackground && skin->Headerbar && skin->ExtraImages);
    EXPECT_EQ(skin->MenuItem->Bitmap->Width(), 10);
    EXPECT_TRUE(skin->MenuBackground->Bitmap->Empty());
    EXPECT_TRUE(skin->Headerbar->Bitmap->Empty());
    EXPECT_TRUE(skin->ExtraImages->Bitmap->Empty());
}

TEST(SkinLoader, TileAboveOneMeansOffForElementsAndOnForProgressAndMenuBar) {
    auto skin = LoadedSkin(
        "[Personality]\nmenuBar=m.bmp\nTileMenu=2\n[Progress]\nBitmap=p.bmp\nTile=2\nStyle=1\n[MenuItem]\nImage=m.bmp\n"
        "Tile=2\n[SunkEdge]\nImage=m.bmp\nTile=1\n",
        {{"m.bmp", SolidBmp(4, 4, clBlack)}, {"p.bmp", SolidBmp(4, 4, clBlack)}});
    ASSERT_TRUE(skin->MenuBar && skin->Progress && skin->MenuItem);
    EXPECT_EQ(skin->MenuBar->Tile, 1);
    EXPECT_EQ(skin->MenuBar->LeftWidth, 1);  // tile switches of the bar's ends, on by default
    EXPECT_EQ(skin->Progress->Tile, 1);
    EXPECT_EQ(skin->Progress->FrameCount, 1);  // a styled progress bar has one frame
    EXPECT_EQ(skin->MenuItem->Tile, 0);
}

TEST(SkinLoader, FrameCountsAreFixedPerElement) {
    struct TCase {
        const char* Keys;
        int Expected;
    };
    // Only the scroll thumbs honour "FrameCount"; the tool bars always have 5, the header bar keeps a
    // given frame count.
    const TCase thumbs[] = {{"FrameCount=3", 3}, {"", 3}, {"FrameCount=4", 4}, {"Frame=7", 3}};
    for (const TCase& c : thumbs) {
        auto skin = LoadedSkin(std::string("[HorzScrollThumb]\nImage=a.bmp\n") + c.Keys + "\n",
                               {{"a.bmp", SolidBmp(12, 4, clBlack)}});
        ASSERT_TRUE(skin->HorzScrollThumb);
        EXPECT_EQ(skin->HorzScrollThumb->FrameCount, c.Expected) << c.Keys;
    }
    auto skin = LoadedSkin(
        "[ToolBars]\nImage=a.bmp\nFrame=3\nFrameCount=5\n[Headerbar]\nImage=a.bmp\nFrame=2\n[Progress.Chunk]\nImage=a.bmp\n"
        "Frame=3\n[Tab.Pane]\nImage=a.bmp\nLeftWidth=9\nTopHeight=2\nRightWidth=5\nBottomHeight=4\n",
        {{"a.bmp", SolidBmp(12, 4, clBlack)}});
    EXPECT_EQ(skin->ToolBars->FrameCount, 5);
    EXPECT_EQ(skin->Headerbar->FrameCount, 2);
    EXPECT_EQ(skin->ProgressChunk->FrameCount, 3);
    EXPECT_EQ(skin->TabPane->FrameCount, 1);
    EXPECT_EQ(skin->TabPane->LeftWidth, 4);
    EXPECT_EQ(skin->TabPane->TopHeight, 2);
    EXPECT_EQ(skin->TabPane->RightWidth, 4);
    EXPECT_EQ(skin->TabPane->BottomHeight, 4);
    EXPECT_EQ(LoadedSkin("[Headerbar]\nImage=a.bmp\n", {{"a.bmp", SolidBmp(12, 4, clBlack)}})->Headerbar->FrameCount, 5);
}

TEST(SkinLoader, ColoursDefaultToSystemColoursAndTheButtonTextColour) {
    auto skin = LoadedSkin(
        "[Colours]\nButtonFace=1 2 3\nButtonText=9 8 7\n[MenuItem]\nImage=a.bmp\nNormalColour2=4 5 6\n",
        {{"a.bmp", SolidBmp(4, 4, clBlack)}});
    EXPECT_EQ(skin->FaceColor, RGBOf(1, 2, 3));
    EXPECT_EQ(skin->MenuBarColor, RGBOf(1, 2, 3));  // the menu bar follows the face colour
    EXPECT_EQ(skin->TextColor, SystemColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(skin->ButtonLightColor, SystemColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(skin->TitleTextInactiveColor, SystemColor(COLOR_INACTIVECAPTIONTEXT));
    ASSERT_TRUE(skin->MenuItem);
    EXPECT_EQ(skin->MenuItem->NormalColour2, RGBOf(4, 5, 6));
    EXPECT_EQ(skin->MenuItem->MouseOverColour2, RGBOf(9, 8, 7));  // not black
    EXPECT_EQ(skin->MenuItem->NormalColour, -1);
    EXPECT_EQ(skin->Buttons->PressedColour2, RGBOf(9, 8, 7));
    EXPECT_FALSE(skin->Buttons->HasPressedColour2);
}

TEST(SkinLoader, ColourTableFollowsTheSectionOrder) {
    auto skin = LoadedSkin(
        "[Colour5]\ncolor=5 5 5\n[Colours]\nButtonFace=1 1 1\n[colour1]\ncolor=1 1 1\n[COLOURX]\n[Customcolors]\n"
        "Color0=10 20 30\nColor9=1 0 0\n");
    EXPECT_EQ(skin->ColourTable, (std::vector<TColor>{RGBOf(5, 5, 5), RGBOf(1, 1, 1), SystemColor(COLOR_WINDOWTEXT)}));
    EXPECT_EQ(skin->CustomColors[0], RGBOf(10, 20, 30));
    EXPECT_EQ(skin->CustomColors[5], clWhite);
    EXPECT_EQ(skin->CustomColors[9], RGBOf(1, 0, 0));
}

TEST(SkinLoader, CaptionButtonsKeepTheVisibleButtonSectionsInTextOrder) {
    const std::string ini =
        "[Buttons]\n[BUTTON.RADIO]\n[Button]\n[BUTTONX]\nAction=-1\n[button7]\nAction=-1\nVisibility=0\n"
        "[BUTTON2]\nAction=1\nAlign=1\nXcoord=40\nYcoord=4\nButtonImage=wide.bmp\n"
        "[BUTTON3]\nAction=2\nButtonImage=square.bmp\n[BUTTON4]\nAction=3\nButtonImage=square.bmp\n"
        "[BUTTON5]\nAction=5\nframe=2\nButtonImage=square.bmp\n[BUTTON6]\nAction=-1\nVisibility=0\nButtonImage=square.bmp\n"
        "[MDICONTROLS]\nImage=mdi.bmp\n";
    auto skin = LoadedSkin(ini, {{"wide.bmp", SolidBmp(114, 19, clBlack)},
                                 {"square.bmp", SolidBmp(57, 19, clBlack)},
                                 {"mdi.bmp", SolidBmp(96, 10, clBlack)}});
    const auto& b = skin->CaptionButtons;
    ASSERT_EQ(b.size(), 6u + 3u);
    const char* names[] = {"BUTTON7", "BUTTON2", "BUTTON3", "BUTTON4", "BUTTON5", "BUTTON6"};
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(b[i]->Name, names[i]);
    EXPECT_EQ(b[0]->Visibility1, -1);
    EXPECT_EQ(b[0]->FrameCount, 6);   // no image
    EXPECT_EQ(b[1]->FrameCount, 6);   // 114 x 19: ratio 6
    EXPECT_EQ(b[1]->XCoord, 40);
    EXPECT_EQ(b[1]->CombineOp, -1);
    EXPECT_EQ(b[2]->FrameCount, 3);   // 57 x 19: ratio 3
    EXPECT_EQ(b[3]->FrameCount, 3);
    EXPECT_TRUE(b[3]->Bitmap->Empty());  // the icon button draws the window's icon
    EXPECT_EQ(b[4]->FrameCount, 2);
    EXPECT_FALSE(b[4]->Bitmap->Empty());
    EXPECT_EQ(b[5]->FrameCount, 6);   // switched-off buttons always have 6
    // The maximised child's buttons: three images of 32 x 10 cut from the 96-wide MDI image.
    for (int i = 0; i < 3; ++i) {
        const TDataSkinSysButton& mdi = *b[6 + static_cast<size_t>(i)];
        EXPECT_EQ(mdi.Action, 7 + i);
        EXPECT_EQ(mdi.Align, 100);
        EXPECT_EQ(mdi.Visibility1, 100);
        EXPECT_EQ(mdi.FrameCount, 4);
        EXPECT_EQ(mdi.Bitmap->Width(), 32);
        EXPECT_EQ(mdi.Bitmap->Height(), 10);
        EXPECT_EQ(mdi.XCoord, 12 * (3 - i));
    }
}

TEST(SkinLoader, CheckAndRadioFramesFollowTheImageSize) {
    struct TCase {
        int Width, Height, Expected;
    };
    const TCase cases[] = {{65, 13, 5}, {96, 16, 6}, {26, 13, 4}};
    for (const TCase& c : cases) {
        auto skin = LoadedSkin("[Buttons]\nCheckButton=c.bmp\nRadioButtonFrame=7\n",
                               {{"c.bmp", SolidBmp(c.Width, c.Height, clBlack)}});
        EXPECT_EQ(skin->Buttons->CheckFrameCount, c.Expected) << c.Width << "x" << c.Height;
        EXPECT_EQ(skin->Buttons->RadioFrameCount, 7);
    }
    EXPECT_EQ(LoadedSkin("")->Buttons->RadioFrameCount, 4);
}

TEST(SkinLoader, BordersReadTheSideKeysWithTheirDefaults) {
    auto skin = LoadedSkin(
        "[Personality]\nTop=t.bmp\nTopTopHeight=40\nTopBotHeight=110\nTopStretch=2\nLeftTopHeight=24\nLeftBotHeight=4\n"
        "LeftFrame=2\nLeftTrans=0\n",
        {{"t.bmp", SolidBmp(250, 48, clBlack)}});
    const TDataSkinBorder& top = *skin->BorderTop;
    EXPECT_EQ(top.LeftWidth, 40);
    EXPECT_EQ(top.RightWidth, 110);
    EXPECT_EQ(top.TopHeight, 0);
    EXPECT_EQ(top.FrameCount, 1);
    EXPECT_EQ(top.Tile, 1);
    EXPECT_EQ(top.Trans, 1);
    EXPECT_EQ(top.Bitmap->Width(), 250);
    const TDataSkinBorder& left = *skin->BorderLeft;
    EXPECT_EQ(left.TopHeight, 24);
    EXPECT_EQ(left.BottomHeight, 4);
    EXPECT_EQ(left.LeftWidth, 0);
    EXPECT_EQ(left.FrameCount, 2);
    EXPECT_EQ(left.Trans, 0);
    EXPECT_TRUE(left.Bitmap->Empty());
}

TEST(SkinLoader, TitleTakesTextPlacementAndRGBKeys) {
    auto skin = LoadedSkin(
        "[Personality]\nTextShift=26\nTextShiftVert=3\nTextRightClip=64\nActiveTextR=255\nActiveTextG=256\n"
        "ActiveTextB=1\nInActiveTextR=1\nInActiveTextG=2\n[Fonts]\nFontHeight=13\n");
    const TDataSkinTitle& t = *skin->Title;
    EXPECT_EQ(t.LeftWidth, 26);
    EXPECT_EQ(t.TopHeight, 3);
    EXPECT_EQ(t.RightWidth, 64);
    EXPECT_EQ(t.FontHeight, 13);
    EXPECT_EQ(t.FrameCount, 2);
    EXPECT_EQ(t.ActiveTextColor, RGBOf(255, 0, 1));
    EXPECT_EQ(t.InactiveTextColor, TDataSkinTitle::NoColor);  // a key missing: not given
    EXPECT_EQ(LoadedSkin("")->Title->FontHeight, 14);
}

TEST(SkinLoader, TrackChannelsFallBackToTheProgramsBitmaps) {
    auto skin = LoadedSkin("[Track]\nImage=t.tga\nLeftWidth=9\n");
    ASSERT_TRUE(skin->Track && skin->TrackVert);
    EXPECT_EQ(skin->Track->Name, "TRACK");
    EXPECT_EQ(skin->TrackVert->Name, "TRACKVERT");
    for (const TDataSkinObject* track : {skin->Track.get(), skin->TrackVert.get()}) {
        EXPECT_FALSE(track->Bitmap->Empty());
        EXPECT_EQ(track->LeftWidth, 3);
        EXPECT_EQ(track->BottomHeight, 3);
        EXPECT_EQ(track->Tile, 0);
        EXPECT_EQ(track->FrameCount, 1);
    }
    EXPECT_EQ(skin->Track->Bitmap->Width(), skin->TrackVert->Bitmap->Height());

    auto own = LoadedSkin("[Track]\nImage=t.bmp\nFrame=2\n", {{"t.bmp", SolidBmp(20, 5, clBlack)}});
    EXPECT_EQ(own->Track->Name, "Track");
    EXPECT_EQ(own->Track->FrameCount, 2);
}

TEST(SkinLoader, RecordsOwnTheirImages) {
    // The mirrored combo button and the derived arrow are copies: changing one image leaves the others.
    auto skin = LoadedSkin("[ComboButton]\nImage=c.bmp\n", {{"c.bmp", BmpBytes(*MakeBitmap(8, 4, [](int x, int) {
                                                                      return x == 0 ? RGBOf(9, 9, 9) : Magenta;
                                                                  }))}});
    ASSERT_TRUE(skin->ComboButton && skin->ComboArrow);
    TBitmap* images[] = {skin->ComboButton->Bitmap.get(), skin->ComboButton->Bitmap2.get(), skin->ComboArrow->Bitmap.get()};
    EXPECT_NE(images[0], images[1]);
    EXPECT_NE(images[0], images[2]);
    EXPECT_NE(images[0]->Handle(), images[1]->Handle());
    EXPECT_EQ(PixelAt(*images[1], 1, 0), RGBOf(9, 9, 9));  // the first of four frames, mirrored in place
    EXPECT_EQ(PixelAt(*images[2], 1, 0), static_cast<TColor>(ColorToRGB(skin->FaceColor)));
    images[0]->Canvas()->SetPixel(0, 0, RGBOf(1, 1, 1));
    EXPECT_EQ(PixelAt(*images[1], 1, 0), RGBOf(9, 9, 9));
    EXPECT_EQ(PixelAt(*images[2], 0, 0), RGBOf(9, 9, 9));
}

TEST(SkinLoader, ADescriptionlessArchiveLoadsWithDefaults) {
    auto skin = std::make_unique<TSkinData>(nullptr);
    SetSkinStream(*skin, PackSkin("", {{"a.bmp", SolidBmp(4, 4, clBlack)}}, false));
    EXPECT_TRUE(skin->LoadSkin());
    EXPECT_FALSE(skin->SkinPending);
    EXPECT_FALSE(skin->Progress || skin->MenuBar || skin->Scrollbar || skin->ComboButton);
    EXPECT_EQ(skin->CaptionButtons.size(), 3u);
    EXPECT_EQ(skin->FaceColor, SystemColor(COLOR_BTNFACE));
    EXPECT_TRUE(skin->ComboArrow && skin->ComboArrow->Bitmap->Empty());
    EXPECT_TRUE(skin->FaceBrush);
    EXPECT_EQ(skin->FrameColor, SystemColor(COLOR_BTNFACE));
}

TEST(SkinLoader, MalformedSkinsFailCleanlyAndLeaveTheSkinPending) {
    std::vector<unsigned char> badBmp = SolidBmp(4, 4, clBlack);
    badBmp.resize(30);  // header cut short
    auto bad = std::make_unique<TSkinData>(nullptr);
    SetSkinStream(*bad, PackSkin("[MenuItem]\nImage=bad.bmp\n", {{"bad.bmp", badBmp}}));
    EXPECT_THROW(bad->LoadSkin(), EInvalidGraphic);
    EXPECT_TRUE(bad->SkinPending);

    std::vector<unsigned char> notBmp(100, 'x');
    SetSkinStream(*bad, PackSkin("[Personality]\nTop=top.bmp\n", {{"top.bmp", notBmp}}));
    EXPECT_THROW(bad->LoadSkin(), EInvalidGraphic);

    // A packed stream cut short: the archive reader refuses it.
    std::vector<unsigned char> packed = PackSkin("[Colours]\nButtonFace=1 2 3\n", {{"a.bmp", SolidBmp(40, 40, clBlack)}});
    packed.resize(packed.size() / 3);
    SetSkinStream(*bad, packed);
    EXPECT_THROW(bad->LoadSkin(), Exception);
    EXPECT_TRUE(bad->SkinPending);

    SetSkinStream(*bad, {1, 2});
    EXPECT_THROW(bad->LoadSkin(), ESkinArchive);
    EXPECT_TRUE(bad->SkinPending);
}

TEST(SkinLoader, AnArchiveOfAnotherVersionIsRefusedWithTheMessage) {
    std::vector<unsigned char> archive = TSkinPacker::BuildArchive({{"skin.ini", {'[', 'a', ']'}}});
    archive[0] = 0x12;  // the version word comes first
    const TSkinMessageProc previous = SkinShowMessage;
    SkinShowMessage = [](const std::string&) {};
    auto skin = std::make_unique<TSkinData>(nullptr);
    SetSkinStream(*skin, TLZHPacker::Pack(archive));
    EXPECT_FALSE(skin->LoadSkin());
    SkinShowMessage = previous;
    EXPECT_TRUE(skin->SkinPending);
}

}  // namespace
