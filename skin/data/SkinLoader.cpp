#include "skin/data/SkinLoader.h"

#include "base/StrUtils.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinColour.h"
#include "skin/data/SkinConvert.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinDerived.h"
#include "skin/data/SkinReader.h"

#include <algorithm>
#include <cctype>

namespace {

std::string UpperCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

// Tile is 0 or 1; where the loaders differ is what a larger value means.
int32_t ClampTile(int32_t tile, int32_t above) { return tile > 1 ? above : tile; }

}  // namespace

TSkinLoader::TSkinLoader(TSkinData& Skin, const TSkinReader& Reader, const TQuickIni& Ini)
    : FSkin(Skin), FReader(Reader), FIni(Ini) {}

int32_t TSkinLoader::Integer(const std::string& Section, const std::string& Key, int32_t Default) const {
    return FIni.ReadInteger(Section, Key, Default);
}

std::string TSkinLoader::Text(const std::string& Section, const std::string& Key) const {
    return FIni.ReadString(Section, Key, "");
}

void TSkinLoader::LoadBitmapMember(TBitmap& Bitmap, const std::string& Value) const {
    const std::string name = TSkinReader::BitmapMemberName(Value);
    TMemoryStream member;
    if (name.empty() || !FReader.ExtractMember(name, member) || member.Size() == 0) {
        Bitmap.Assign(nullptr);
        return;
    }
    Bitmap.LoadFromStream(member);
}

void TSkinLoader::ReadRGBKeys(const std::string& Section, const std::string& Prefix, int32_t& Target) const {
    const int32_t r = Integer(Section, Prefix + "R", -1), g = Integer(Section, Prefix + "G", -1),
                  b = Integer(Section, Prefix + "B", -1);
    if (r >= 0 && g >= 0 && b >= 0) Target = (r % 256) | (g % 256) << 8 | (b % 256) << 16;
}

void TSkinLoader::ReadColourKeys(TDataSkinObject& Element, const std::string& Section) const {
    Element.NormalColour = Integer(Section, "NormalColour", -1);
    Element.MouseOverColour = Integer(Section, "MouseOverColour", -1);
    Element.PressedColour = Integer(Section, "PressedColour", -1);
    // Without an RGB colour of its own an element's text takes the skin's button text colour.
    Element.NormalColour2 = ReadColour(Text(Section, "NormalColour2"), FSkin.ButtonTextColor);
    Element.MouseOverColour2 = ReadColour(Text(Section, "MouseOverColour2"), FSkin.ButtonTextColor);
    Element.PressedColour2 = ReadColour(Text(Section, "PressedColour2"), FSkin.ButtonTextColor);
}

template <typename T>
std::unique_ptr<T> TSkinLoader::NewElement(const std::string& Section, const std::string& ImageKey, bool ReadFrame,
                                           bool ReadColours) const {
    const std::string image = Text(Section, ImageKey);
    if (image.empty()) return nullptr;
    auto element = std::make_unique<T>(Section);
    LoadBitmapMember(*element->Bitmap, image);
    element->Style = Integer(Section, "Style", 0);
    element->LeftWidth = Integer(Section, "LeftWidth", 0);
    element->RightWidth = Integer(Section, "RightWidth", 0);
    element->TopHeight = Integer(Section, "TopHeight", 0);
    element->BottomHeight = Integer(Section, "BottomHeight", 0);
    if (ReadFrame) element->FrameCount = Integer(Section, "Frame", 0);
    element->Trans = Integer(Section, "Trans", 0);
    element->Tile = ClampTile(Integer(Section, "Tile", 0), 0);
    if (ReadColours) ReadColourKeys(*element, Section);
    return element;
}

void TSkinLoader::LoadElement(std::unique_ptr<TDataSkinObject>& Target, const std::string& Section) const {
    Target.reset();
    Target = NewElement<TDataSkinObject>(Section, "Image", true, true);
}

void TSkinLoader::LoadBorderElement(std::unique_ptr<TDataSkinBorder>& Target, const std::string& Section,
                                    const std::string& SecondKey) const {
    Target.reset();
    Target = NewElement<TDataSkinBorder>(Section, "Image", false, true);
    if (!Target) return;
    const std::string second = Text(Section, SecondKey);
    if (!second.empty()) LoadBitmapMember(*Target->Bitmap2, second);
}

void TSkinLoader::LoadProgress(std::unique_ptr<TDataSkinBorder>& Target, const std::string& Section) const {
    Target.reset();
    Target = NewElement<TDataSkinBorder>(Section, "Bitmap", false, false);
    if (Target) Target->Tile = ClampTile(Integer(Section, "Tile", 0), 1);
}

void TSkinLoader::LoadGroupBox(std::unique_ptr<TDataSkinBoxLabel>& Target, const std::string& Section) const {
    Target.reset();
    Target = NewElement<TDataSkinBoxLabel>(Section, "Image", false, true);
    if (!Target) return;
    Target->BackgroundAlignment = Integer(Section, "BackgroundAlignment", 0);
    Target->BackgroundLeftShift = Integer(Section, "BackgroundLeftShift", 0);
    Target->BackgroundRightShift = Integer(Section, "BackgroundRightShift", 0);
}

void TSkinLoader::LoadBorders() {
    const std::string section = "Personality";
    struct TSide {
        const char* Name;
        TDataSkinBorder& Border;
        bool Horizontal;  // top and bottom: the fixed parts are the strip's left and right ends
    };
    for (const TSide& side : {TSide{"Left", *FSkin.BorderLeft, false}, TSide{"Right", *FSkin.BorderRight, false},
                              TSide{"Top", *FSkin.BorderTop, true}, TSide{"Bottom", *FSkin.BorderBottom, true}}) {
        TDataSkinBorder& b = side.Border;
        const std::string name = side.Name;
        const int32_t first = Integer(section, name + "TopHeight", 0), last = Integer(section, name + "BotHeight", 0);
        if (side.Horizontal) {
            b.LeftWidth = first;
            b.RightWidth = last;
            b.TopHeight = b.BottomHeight = 0;
        } else {
            b.TopHeight = first;
            b.BottomHeight = last;
            b.LeftWidth = b.RightWidth = 0;
        }
        b.FrameCount = Integer(section, name + "Frame", 1);
        b.Tile = ClampTile(Integer(section, name + "Stretch", 1), 1);
        b.Trans = Integer(section, name + "Trans", 1);
        LoadBitmapMember(*b.Bitmap, Text(section, name));
    }
}

void TSkinLoader::LoadColours() {
    const std::string section = "Colours";
    auto colour = [&](const char* key, TColor fallback) { return ReadColour(Text(section, key), fallback); };
    FSkin.TextColor = colour("WindowText", SystemColor(COLOR_WINDOWTEXT));
    FSkin.FaceColor = colour("ButtonFace", SystemColor(COLOR_BTNFACE));
    FSkin.ScrollbarColor = colour("Scrollbar", SystemColor(COLOR_SCROLLBAR));
    FSkin.HilightTextColor = colour("HilightText", SystemColor(COLOR_HIGHLIGHTTEXT));
    FSkin.HilightColor = colour("Hilight", SystemColor(COLOR_HIGHLIGHT));
    FSkin.MenuBarColor = colour("Menubar", FSkin.FaceColor);
    FSkin.MenuColor = colour("Menu", SystemColor(COLOR_MENU));
    FSkin.MenuTextColor = colour("MenuText", SystemColor(COLOR_MENUTEXT));
    FSkin.ButtonTextColor = colour("ButtonText", SystemColor(COLOR_BTNTEXT));
    FSkin.ButtonHilightColor = colour("ButtonHilight", SystemColor(COLOR_BTNHIGHLIGHT));
    FSkin.ButtonLightColor = colour("Buttonlight", SystemColor(COLOR_BTNHIGHLIGHT));
    FSkin.ButtonShadowColor = colour("ButtonShadow", SystemColor(COLOR_BTNSHADOW));
    FSkin.ButtonDkShadowColor = colour("ButtonDkShadow", SystemColor(COLOR_3DDKSHADOW));
    FSkin.MenuBarTextColor = colour("MenuBarText", SystemColor(COLOR_MENUTEXT));
    FSkin.TitleTextActiveColor = colour("TitleTextActive", SystemColor(COLOR_CAPTIONTEXT));
    FSkin.TitleTextInactiveColor = colour("TitleTextNoActive", SystemColor(COLOR_INACTIVECAPTIONTEXT));

    // The table follows the order the sections stand in, not the numbers in their names.
    FSkin.ColourTable.clear();
    for (const std::string& name : FSectionList) {
        const std::string upper = UpperCase(name);
        if (StartsWith(upper, "COLOUR") && upper != "COLOURS")
            FSkin.ColourTable.push_back(ReadColour(Text(name, "color"), SystemColor(COLOR_WINDOWTEXT)));
    }
    for (size_t i = 0; i < FSkin.CustomColors.size(); ++i)
        FSkin.CustomColors[i] = ReadColour(Text("Customcolors", "Color" + std::to_string(i)), clWhite);
}

void TSkinLoader::LoadCaptionButtons() {
    FSkin.CaptionButtons.clear();
    std::vector<std::string> kept;
    for (auto it = FSectionList.rbegin(); it != FSectionList.rend(); ++it) {
        const std::string upper = UpperCase(*it);
        if (!StartsWith(upper, "BUTTON") || upper == "BUTTONS" || upper == "BUTTON.RADIO" ||
            upper == "BUTTON.CHECKBOX" || upper == "BUTTON")
            continue;
        // A button switched off (Action -1) stays only when the skin says it is visible in no state.
        if (Integer(*it, "Action", 0) == -1 && Integer(*it, "Visibility", -1) != 0) continue;
        kept.push_back(*it);
    }
    std::reverse(kept.begin(), kept.end());

    for (const std::string& section : kept) {
        auto b = std::make_unique<TDataSkinSysButton>(UpperCase(section));
        b->Action = Integer(section, "Action", 0);
        b->Align = Integer(section, "Align", 0);
        b->XCoord = Integer(section, "Xcoord", 0);
        b->YCoord = Integer(section, "Ycoord", 0);
        b->Visibility = Integer(section, "Visibility", 0);
        b->Visibility1 = Integer(section, "Visibility1", b->Action == -1 ? -1 : 0);
        b->CombineOp = Integer(section, "CombineOp", -1);
        b->FrameCount = Integer(section, "frame", 0);
        LoadBitmapMember(*b->Bitmap, Text(section, "ButtonImage"));
        if (b->FrameCount == 0) {
            // Without a frame count the image's shape tells: three frames of a squarish button, or six.
            b->FrameCount = 6;
            const TBitmap& image = *b->Bitmap;
            if (!image.Empty())
                b->FrameCount = static_cast<double>(image.Width()) / image.Height() <= 3.8 ? 3 : 6;
            if (b->Action < 0) b->FrameCount = 6;
            if (b->Action == 3 || b->Action == 11) b->Bitmap->Assign(nullptr);  // drawn from the window's icon
        }
        FSkin.CaptionButtons.push_back(std::move(b));
    }
    // Minimise, restore and close of a maximised child window.
    const size_t first = FSkin.CaptionButtons.size();
    for (int32_t action : {7, 8, 9}) {
        auto b = std::make_unique<TDataSkinSysButton>("");
        b->Action = action;
        b->Align = b->Visibility = b->Visibility1 = 100;
        b->FrameCount = 4;
        FSkin.CaptionButtons.push_back(std::move(b));
    }
    LoadMDIButtons(first);
}

void TSkinLoader::LoadMDIButtons(size_t First) {
    TBitmap image;
    LoadBitmapMember(image, Text("MDICONTROLS", "Image"));
    if (image.Empty()) return;
    // Three buttons of four frames each, side by side.
    const int a = image.Width() / 12, h = image.Height();
    for (int i = 0; i < 3; ++i) {
        TDataSkinSysButton& b = *FSkin.CaptionButtons[First + static_cast<size_t>(i)];
        b.Bitmap->SetPixelFormat(image.PixelFormat());
        b.Bitmap->SetSize(4 * a, h);
        BitBlt(b.Bitmap->Canvas()->Handle(), 0, 0, 4 * a, h, image.Canvas()->Handle(), 4 * a * i, 0, SRCCOPY);
        b.XCoord = (a + 4) * (3 - i);
    }
}

void TSkinLoader::LoadButtons() {
    const std::string section = "Buttons";
    TDataSkinButton& b = *FSkin.Buttons;
    b.LeftWidth = Integer(section, "LeftWidth", 0);
    b.RightWidth = Integer(section, "RightWidth", 0);
    b.TopHeight = Integer(section, "TopHeight", 0);
    b.BottomHeight = Integer(section, "BottomHeight", 0);
    b.Trans = Integer(section, "Trans", 0);
    b.Tile = ClampTile(Integer(section, "Tile", 0), 0);
    LoadBitmapMember(*b.Bitmap, Text(section, "Bitmap"));
    LoadBitmapMember(*b.CheckBitmap, Text(section, "CheckButton"));
    LoadBitmapMember(*b.RadioBitmap, Text(section, "RadioButton"));
    b.RadioFrameCount = Integer(section, "RadioButtonFrame", 0);
    b.CheckFrameCount = Integer(section, "CheckButtonFrame", 0);
    b.HasNormalColour2 = !Text(section, "NormalColour2").empty();
    b.HasMouseOverColour2 = !Text(section, "MouseOverColour2").empty();
    b.HasPressedColour2 = !Text(section, "PressedColour2").empty();
    ReadColourKeys(b, section);
}

void TSkinLoader::LoadTitle() {
    const std::string section = "Personality";
    TDataSkinTitle& t = *FSkin.Title;
    LoadBitmapMember(*t.Bitmap, Text(section, "TextBack"));
    t.LeftWidth = Integer(section, "TextShift", 0);
    t.TopHeight = Integer(section, "TextShiftVert", 0);
    t.RightWidth = Integer(section, "TextRightClip", 0);
    t.BottomHeight = 0;
    t.TextAlignment = Integer(section, "TextAlignment", 0);
    t.TextBackground = Integer(section, "Textbackground", 0);
    t.TextBackLeft = Integer(section, "TXTBackleft", 0);
    t.TextBackRight = Integer(section, "TXTBackRight", 0);
    t.FontHeight = Integer("Fonts", "FontHeight", 14);
    t.ActiveTextColor = t.InactiveTextColor = TDataSkinTitle::NoColor;
    ReadRGBKeys(section, "ActiveText", t.ActiveTextColor);
    ReadRGBKeys(section, "InActiveText", t.InactiveTextColor);
}

void TSkinLoader::LoadMenuBar() {
    const std::string section = "Personality";
    FSkin.MenuBar.reset();
    const std::string image = Text(section, "menuBar");
    if (image.empty()) return;
    auto bar = std::make_unique<TDataSkinObject>(section);
    LoadBitmapMember(*bar->Bitmap, image);
    // Here the two width fields are tile switches for the bar's left and right parts.
    bar->Tile = ClampTile(Integer(section, "TileMenu", 1), 1);
    bar->LeftWidth = Integer(section, "TileLeftMenu", 1);
    bar->RightWidth = Integer(section, "TileRightMenu", 1);
    FSkin.MenuBar = std::move(bar);
}

void TSkinLoader::ResourceElement(std::unique_ptr<TDataSkinObject>& Target, const wchar_t* ResourceName) const {
    Target.reset();
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!FindResourceW(instance, ResourceName, MAKEINTRESOURCEW(2) /* RT_BITMAP */)) return;
    auto element = std::make_unique<TDataSkinObject>(WideToUtf8(ResourceName));
    element->Bitmap->LoadFromResourceName(instance, ResourceName);
    element->LeftWidth = element->TopHeight = element->RightWidth = element->BottomHeight = 3;
    element->FrameCount = 1;
    Target = std::move(element);
}

void TSkinLoader::FixFrameCounts() {
    auto fix = [](auto& element, int32_t count) {
        if (element) element->FrameCount = count;
    };
    TDataSkinButton& b = *FSkin.Buttons;
    b.FrameCount = 5;
    // Check and radio images without a stated frame count: frames 13 wide in a small image, 16 otherwise.
    auto frames = [](const TBitmap& image) {
        if (image.Empty()) return 4;
        return std::max(image.Width() / (image.Height() < 16 ? 13 : 16), 4);
    };
    if (b.RadioFrameCount == 0) b.RadioFrameCount = frames(*b.RadioBitmap);
    if (b.CheckFrameCount == 0) b.CheckFrameCount = frames(*b.CheckBitmap);
    FSkin.Title->FrameCount = 2;
    if (FSkin.Progress) FSkin.Progress->FrameCount = FSkin.Progress->Style != 0 ? 1 : 2;
    fix(FSkin.MenuBar, 2);
    fix(FSkin.GroupBoxEdge, 2);
    fix(FSkin.GroupBox, 1);
    fix(FSkin.Tabs, 5);
    fix(FSkin.StatusBarEdges, 3);
    fix(FSkin.TabPane, 1);
    fix(FSkin.ToolBars, 5);
    fix(FSkin.ComboButton, ComboButtonFrames);
    fix(FSkin.SunkEdge, 4);
    fix(FSkin.ExtraImages, 5);
    if (FSkin.Headerbar && FSkin.Headerbar->FrameCount == 0) FSkin.Headerbar->FrameCount = 5;
    fix(FSkin.MenuItem, 5);
    fix(FSkin.MenuBackground, 1);
    fix(FSkin.Scrollbar, 23);
    fix(FSkin.HorzScroll, 4);
    fix(FSkin.VertScroll, 4);
    fix(FSkin.HorzScrollThumb, Integer("HorzScrollThumb", "FrameCount", 3));
    fix(FSkin.VertScrollThumb, Integer("VertScrollThumb", "FrameCount", 3));
    for (auto* thumb : {&FSkin.TrackbarThumbHorz, &FSkin.TrackbarThumbVert, &FSkin.TrackbarThumbLeft,
                        &FSkin.TrackbarThumbRight, &FSkin.TrackbarThumbUp, &FSkin.TrackbarThumbDown})
        fix(*thumb, 5);
    fix(FSkin.UpDownHorz, 8);
    fix(FSkin.UpDownVert, 8);
}

void TSkinLoader::ParseSkin() {
    FIni.ReadSections(FSectionList);
    FSkin.SkinName = Text("TitlebarSkin", "SkinName");
    // Colours come before the elements, whose RGB text colours default to the button text colour.
    LoadBorders();
    LoadColours();
    LoadCaptionButtons();
    LoadButtons();
    LoadTitle();

    LoadProgress(FSkin.Progress, "Progress");
    LoadElement(FSkin.ProgressChunk, "Progress.Chunk");
    LoadMenuBar();
    LoadElement(FSkin.GroupBoxEdge, "GroupBoxEdge");
    LoadGroupBox(FSkin.GroupBox, "GroupBox");
    LoadBorderElement(FSkin.Tabs, "Tabs", "Border");
    LoadElement(FSkin.StatusBarEdges, "StatusBarEdges");
    LoadElement(FSkin.TabPane, "Tab.Pane");
    if (FSkin.TabPane) {
        TDataSkinObject& pane = *FSkin.TabPane;
        for (int32_t* edge : {&pane.LeftWidth, &pane.TopHeight, &pane.RightWidth, &pane.BottomHeight})
            *edge = std::min(*edge, 4);
    }
    LoadElement(FSkin.ToolBars, "ToolBars");
    LoadBorderElement(FSkin.ComboButton, "ComboButton", "****");
    LoadElement(FSkin.SunkEdge, "SunkEdge");
    if (FSkin.ComboButton && !FSkin.ComboButton->Bitmap->Empty()) {
        // The button as a right-to-left combo box shows it, each of its four state frames mirrored
        // where it stands.
        TDataSkinBorder& combo = *FSkin.ComboButton;
        combo.Bitmap2->Assign(combo.Bitmap.get());
        combo.Bitmap2->SetPixelFormat(pf24bit);
        MirrorFrames(*combo.Bitmap2, ComboButtonFrames);
    }
    LoadElement(FSkin.ExtraImages, "ExtraImages");
    LoadElement(FSkin.Headerbar, "Headerbar");
    LoadElement(FSkin.MenuItem, "MenuItem");
    LoadElement(FSkin.MenuBackground, "MenuBackground");
    LoadElement(FSkin.Scrollbar, "Scrollbar");
    LoadElement(FSkin.HorzScroll, "HorzScroll");
    LoadElement(FSkin.VertScroll, "VertScroll");
    LoadElement(FSkin.HorzScrollThumb, "HorzScrollThumb");
    LoadElement(FSkin.VertScrollThumb, "VertScrollThumb");
    LoadElement(FSkin.TrackbarThumbHorz, "Trackbar.ThumbHorz");
    LoadElement(FSkin.TrackbarThumbVert, "Trackbar.ThumbVert");
    LoadElement(FSkin.TrackbarThumbLeft, "Trackbar.ThumbLeft");
    LoadElement(FSkin.TrackbarThumbRight, "Trackbar.ThumbRight");
    LoadElement(FSkin.TrackbarThumbUp, "Trackbar.ThumbUp");
    LoadElement(FSkin.TrackbarThumbDown, "Trackbar.ThumbDown");
    LoadBorderElement(FSkin.UpDownHorz, "UpDown.Horz", "GlyphImage");
    LoadBorderElement(FSkin.UpDownVert, "UpDown.Vert", "GlyphImage");
    LoadElement(FSkin.Track, "Track");
    LoadElement(FSkin.TrackVert, "TRACKVERT");
    // A track channel without an image cannot be drawn: the program's own takes its place.
    if (!FSkin.Track || FSkin.Track->Bitmap->Empty()) ResourceElement(FSkin.Track, L"TRACK");
    if (!FSkin.TrackVert || FSkin.TrackVert->Bitmap->Empty()) ResourceElement(FSkin.TrackVert, L"TRACKVERT");

    // Frame counts are final before the derived images cut frames.
    FixFrameCounts();
    BuildComboImages(FSkin);
    BuildComboArrow(FSkin);
    BuildToolbarBack(FSkin);
    FSkin.FrameColor = SampleFrameColor(FSkin);

    FSkin.FaceBrush.reset(CreateSolidBrush(ColorToRGB(FSkin.FaceColor)));
    FSectionList.clear();
    FSkin.SkinPending = false;
}
