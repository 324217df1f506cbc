// The skins the program ships, read back from their committed packed files with the program's own
// archive and ini readers. The default skin is the one the main window carries: it must hold every
// value the program's stored skin is known by. The graphite skin exists to exercise every loader path.
#include "Pixmap.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace {

struct TShippedSkin {
  std::vector<unsigned char> Packed;
  size_t UnpackedSize = 0;
  TSkinReader Reader;
  TQuickIni Ini;

  explicit TShippedSkin(const std::string& name) {
    Packed = ReadFile(std::string(CLARIVO_SKINS_DIR) + "/" + name + ".skn");
    TMemoryStream packed(Packed), unpacked;
    TSkinReader::UnpackStream(packed, unpacked);
    UnpackedSize = unpacked.Bytes().size();
    unpacked.SetPosition(0);
    EXPECT_TRUE(Reader.ReadArchive(unpacked));
    TMemoryStream member;
    std::string found;
    EXPECT_TRUE(Reader.FindMember(".ini", member, found));
    Ini.LoadFromText(std::string(member.Bytes().begin(), member.Bytes().end()));
  }

  std::string Value(const std::string& section, const std::string& key) const { return Ini.ReadString(section, key, ""); }
  int Number(const std::string& section, const std::string& key, int fallback) const {
    return Ini.ReadInteger(section, key, fallback);
  }
  // The bitmap an ini value names, as the loader finds it; empty when there is none.
  TPixmap Bitmap(const std::string& section, const std::string& key) const {
    const std::string name = TSkinReader::BitmapMemberName(Value(section, key));
    TMemoryStream member;
    if (name.empty() || !Reader.ExtractMember(name, member)) return {};
    return TPixmap::FromBmp(member.Bytes());
  }
  std::vector<std::string> Sections() const {
    std::vector<std::string> list;
    Ini.ReadSections(list);
    return list;
  }
  // The caption button sections the loader keeps, in text order.
  std::vector<std::string> CaptionButtons() const {
    std::vector<std::string> kept;
    for (const std::string& section : Sections()) {
      std::string upper = section;
      for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      if (upper.rfind("BUTTON", 0) != 0 || upper == "BUTTONS" || upper == "BUTTON.RADIO" ||
          upper == "BUTTON.CHECKBOX" || upper == "BUTTON")
        continue;
      if (Number(section, "Action", 0) == -1 && Number(section, "Visibility", -1) != 0) continue;
      kept.push_back(upper);
    }
    return kept;
  }
};

const TShippedSkin& DefaultSkin() {
  static const TShippedSkin skin("default");
  return skin;
}
const TShippedSkin& GraphiteSkin() {
  static const TShippedSkin skin("graphite");
  return skin;
}

TEST(DefaultSkin, ArchiveHasTheStoredSkinsShape) {
  const TShippedSkin& skin = DefaultSkin();
  EXPECT_EQ(skin.Packed.size(), 62959u)
      << "find the form texture grain that packs it so: skingen default skins/default/default.ini --fit-packed-size 62959";
  EXPECT_EQ(skin.UnpackedSize, 663250u);
  EXPECT_EQ(skin.Reader.NamesLength(), 670);
  ASSERT_EQ(skin.Reader.MemberCount(), 42);
  const auto& names = skin.Reader.Names();
  EXPECT_EQ(std::count_if(names.begin(), names.end(), [](const std::string& n) { return n.ends_with(".bmp"); }), 41);
  EXPECT_EQ(std::count_if(names.begin(), names.end(), [](const std::string& n) { return n.ends_with(".ini"); }), 1);
  EXPECT_EQ(skin.Reader.Data().Bytes().size(), 662396u);
  TMemoryStream status;
  EXPECT_TRUE(skin.Reader.ExtractMember("Status.bmp", status));
}

TEST(DefaultSkin, HoldsTheStoredSkinsValues) {
  struct TCase {
    const char* Section;
    const char* Key;
    const char* Value;
  };
  const TCase cases[] = {
      {"Colours", "ButtonFace", "213 222 242"},
      {"Colour1", "color", "59 97 131"},
      {"Progress", "Tile", "2"},
      {"Buttons", "TopHeight", "9"},
      {"Buttons", "BottomHeight", "6"},
      {"Buttons", "LeftWidth", "5"},
      {"Buttons", "RightWidth", "5"},
      {"Buttons", "Trans", "1"},
      {"Buttons", "Tile", "0"},
      {"Buttons", "NormalColour", "1"},
      {"Personality", "TopTopHeight", "40"},
      {"Personality", "TopBotHeight", "110"},
  };
  for (const TCase& c : cases) EXPECT_EQ(DefaultSkin().Value(c.Section, c.Key), c.Value) << c.Section << " " << c.Key;

  // "Colour1" is the second colour-table section, so NormalColour 1 picks it.
  std::vector<std::string> colourSections;
  for (const std::string& s : DefaultSkin().Sections())
    if (s.size() > 6 && (s.rfind("Colour", 0) == 0 || s.rfind("COLOUR", 0) == 0) && s != "Colours") colourSections.push_back(s);
  ASSERT_GE(colourSections.size(), 2u);
  EXPECT_EQ(colourSections[1], "Colour1");
}

TEST(DefaultSkin, CaptionButtonsAndTheirImages) {
  const TShippedSkin& skin = DefaultSkin();
  EXPECT_EQ(skin.CaptionButtons(), (std::vector<std::string>{"BUTTON0", "BUTTON1", "BUTTON3", "BUTTON4"}));
  const int actions[] = {0, 1, 2, 3};
  const char* sections[] = {"BUTTON0", "BUTTON1", "BUTTON3", "BUTTON4"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(skin.Number(sections[i], "Action", -99), actions[i]) << sections[i];
    EXPECT_EQ(skin.Value(sections[i], "frame"), "") << sections[i] << ": the frame count comes from the image's shape";
    const TPixmap image = skin.Bitmap(sections[i], "ButtonImage");
    EXPECT_EQ(image.Width(), 96) << sections[i];
    EXPECT_EQ(image.Height(), 16) << sections[i];
  }
  const TPixmap mdi = skin.Bitmap("MDICONTROLS", "Image");
  EXPECT_EQ(mdi.Width(), 180);
  EXPECT_EQ(mdi.Height(), 15);
}

TEST(DefaultSkin, FrameAndBoxImages) {
  const TShippedSkin& skin = DefaultSkin();
  for (const char* key : {"CheckButton", "RadioButton"}) {
    const TPixmap image = skin.Bitmap("Buttons", key);
    EXPECT_EQ(image.Width(), 65) << key;
    EXPECT_EQ(image.Height(), 13) << key;
  }
  const TPixmap top = skin.Bitmap("Personality", "Top");
  ASSERT_EQ(top.Width(), 250);
  ASSERT_EQ(top.Height(), 48);
  EXPECT_EQ(skin.Number("Personality", "TopFrame", 1), 2);
  // The colour the program samples from the top border for its derived tool bar gradient.
  EXPECT_EQ(top.At(83, 8), (TRgb8{82, 134, 222}));
  // Rounded top corners: the side images' outer corner pixels are cut away, the caption is whole.
  EXPECT_EQ(skin.Bitmap("Personality", "Left").At(0, 0), KeyColour);
  EXPECT_EQ(skin.Bitmap("Personality", "Right").At(3, 0), KeyColour);
  for (int x = 0; x < top.Width(); ++x) EXPECT_NE(top.At(x, 12), KeyColour) << x;
}

TEST(DefaultSkin, HasTheElementsOfTheStoredSkinAndLacksTheOthers) {
  const TShippedSkin& skin = DefaultSkin();
  for (const char* section : {"GroupBoxEdge", "GroupBox", "Tabs", "StatusBarEdges", "ToolBars", "ComboButton", "SunkEdge",
                              "ExtraImages", "Headerbar", "MenuItem", "MenuBackground", "Scrollbar", "HorzScroll",
                              "VertScroll", "HorzScrollThumb", "VertScrollThumb"})
    EXPECT_FALSE(skin.Bitmap(section, "Image").Empty()) << section;
  EXPECT_FALSE(skin.Bitmap("Progress", "Bitmap").Empty());
  EXPECT_FALSE(skin.Bitmap("Tabs", "Border").Empty());
  EXPECT_FALSE(skin.Bitmap("Personality", "menuBar").Empty());

  for (const char* section : {"TitlebarSkin", "Progress.Chunk", "Tab.Pane", "Trackbar.ThumbHorz", "Trackbar.ThumbVert",
                              "Trackbar.ThumbLeft", "Trackbar.ThumbRight", "Trackbar.ThumbUp", "Trackbar.ThumbDown",
                              "UpDown.Horz", "UpDown.Vert", "Track", "TRACKVERT"})
    EXPECT_EQ(skin.Value(section, "Image"), "") << section;
  EXPECT_EQ(skin.Value("TitlebarSkin", "SkinName"), "");
  EXPECT_EQ(skin.Value("Personality", "TextBack"), "");
}

TEST(GraphiteSkin, NamesEveryKeyTheLoadersRead) {
  const std::vector<std::string> element = {"Image", "Style", "LeftWidth", "RightWidth", "TopHeight", "BottomHeight",
                                            "Trans", "Tile", "NormalColour", "MouseOverColour", "PressedColour",
                                            "NormalColour2", "MouseOverColour2", "PressedColour2"};
  auto with = [&](std::vector<std::string> keys, std::initializer_list<const char*> more) {
    keys.insert(keys.end(), more.begin(), more.end());
    return keys;
  };
  struct TCase {
    std::string Section;
    std::vector<std::string> Keys;
  };
  std::vector<TCase> cases = {
      {"TitlebarSkin", {"SkinName"}},
      {"Fonts", {"FontHeight"}},
      {"Colours", {"WindowText", "ButtonFace", "Scrollbar", "HilightText", "Hilight", "Menubar", "Menu", "MenuText",
                   "ButtonText", "ButtonHilight", "Buttonlight", "ButtonShadow", "ButtonDkShadow", "MenuBarText",
                   "TitleTextActive", "TitleTextNoActive"}},
      {"Colour0", {"color"}},
      {"Customcolors", {"Color0", "Color1", "Color2", "Color3", "Color4", "Color5", "Color6", "Color7", "Color8", "Color9"}},
      {"Personality", {"TextBack", "TextShift", "TextShiftVert", "TextRightClip", "TextAlignment", "Textbackground",
                       "TXTBackleft", "TXTBackRight", "ActiveTextR", "ActiveTextG", "ActiveTextB", "InActiveTextR",
                       "InActiveTextG", "InActiveTextB", "menuBar", "TileMenu", "TileLeftMenu", "TileRightMenu"}},
      {"MDICONTROLS", {"Image"}},
      {"Buttons", {"LeftWidth", "RightWidth", "TopHeight", "BottomHeight", "Trans", "Tile", "Bitmap", "CheckButton",
                   "RadioButton", "NormalColour", "MouseOverColour", "PressedColour", "RadioButtonFrame",
                   "CheckButtonFrame", "NormalColour2", "MouseOverColour2", "PressedColour2"}},
      {"Progress", {"Bitmap", "Style", "LeftWidth", "RightWidth", "TopHeight", "BottomHeight", "Trans", "Tile"}},
      {"GroupBox", with(element, {"BackgroundAlignment", "BackgroundLeftShift", "BackgroundRightShift"})},
      {"Tabs", with(element, {"Border"})},
      {"ComboButton", element},
      {"UpDown.Horz", with(element, {"GlyphImage"})},
      {"UpDown.Vert", with(element, {"GlyphImage"})},
      {"HorzScrollThumb", with(element, {"Frame", "FrameCount"})},
      {"VertScrollThumb", with(element, {"Frame", "FrameCount"})},
  };
  for (const char* side : {"Left", "Right", "Top", "Bottom"})
    for (const char* suffix : {"", "TopHeight", "BotHeight", "Frame", "Stretch", "Trans"})
      cases[5].Keys.push_back(std::string(side) + suffix);
  for (const char* section : {"Progress.Chunk", "GroupBoxEdge", "StatusBarEdges", "Tab.Pane", "ToolBars", "SunkEdge",
                              "ExtraImages", "Headerbar", "MenuItem", "MenuBackground", "Scrollbar", "HorzScroll",
                              "VertScroll", "Trackbar.ThumbHorz", "Trackbar.ThumbVert", "Trackbar.ThumbLeft",
                              "Trackbar.ThumbRight", "Trackbar.ThumbUp", "Trackbar.ThumbDown", "Track", "TRACKVERT"})
    cases.push_back({section, with(element, {"Frame"})});

  for (const TCase& c : cases)
    for (const std::string& key : c.Keys) EXPECT_NE(GraphiteSkin().Value(c.Section, key), "") << c.Section << " " << key;
}

TEST(GraphiteSkin, CaptionButtonsCoverEveryPlacementAndVisibilityKind) {
  const TShippedSkin& skin = GraphiteSkin();
  std::vector<int> aligns;
  bool decoration = false, explicitFrames = false, shapeFrames = false, noImage = false;
  for (const std::string& section : skin.CaptionButtons()) {
    for (const char* key : {"Action", "Align", "Xcoord", "Ycoord", "Visibility", "Visibility1", "CombineOp"})
      EXPECT_NE(skin.Value(section, key), "") << section << " " << key;
    aligns.push_back(skin.Number(section, "Align", -1));
    decoration |= skin.Number(section, "Action", 0) == -1;
    explicitFrames |= skin.Number(section, "frame", 0) > 0;
    shapeFrames |= skin.Number(section, "frame", 0) == 0 && !skin.Bitmap(section, "ButtonImage").Empty();
    noImage |= skin.Value(section, "ButtonImage").empty();
  }
  for (const int align : {0, 1, 2, 3, 8, 9, 100})
    EXPECT_NE(std::find(aligns.begin(), aligns.end(), align), aligns.end()) << "Align " << align;
  EXPECT_TRUE(decoration);
  EXPECT_TRUE(explicitFrames);
  EXPECT_TRUE(shapeFrames);
  EXPECT_TRUE(noImage);
  EXPECT_FALSE(skin.Bitmap("MDICONTROLS", "Image").Empty());
}

// Every image must cut evenly into the frames the loader will give it; a mismatch shifts every frame.
TEST(ShippedSkins, ImagesCutEvenlyIntoTheirFrames) {
  struct TRule {
    const char* Section;
    const char* Key;
    int Frames;  // 0: from the section's "Frame" key
    bool Vertical;
  };
  const TRule rules[] = {
      {"Buttons", "Bitmap", 5, false},          {"Personality", "TextBack", 2, true},
      {"Personality", "menuBar", 2, true},      {"Progress.Chunk", "Image", 0, false},
      {"GroupBoxEdge", "Image", 2, false},      {"GroupBox", "Image", 1, false},
      {"Tabs", "Image", 5, false},              {"StatusBarEdges", "Image", 3, false},
      {"Tab.Pane", "Image", 1, false},          {"ToolBars", "Image", 5, false},
      {"ComboButton", "Image", 4, false},       {"SunkEdge", "Image", 4, false},
      {"ExtraImages", "Image", 5, false},       {"MenuItem", "Image", 5, false},
      {"MenuBackground", "Image", 1, false},    {"Scrollbar", "Image", 23, false},
      {"HorzScroll", "Image", 4, false},        {"VertScroll", "Image", 4, false},
      {"Trackbar.ThumbHorz", "Image", 5, false}, {"Trackbar.ThumbVert", "Image", 5, false},
      {"Trackbar.ThumbLeft", "Image", 5, false}, {"Trackbar.ThumbRight", "Image", 5, false},
      {"Trackbar.ThumbUp", "Image", 5, false},  {"Trackbar.ThumbDown", "Image", 5, false},
      {"UpDown.Horz", "Image", 8, false},       {"UpDown.Horz", "GlyphImage", 8, false},
      {"UpDown.Vert", "Image", 8, false},       {"UpDown.Vert", "GlyphImage", 8, false},
      {"Track", "Image", 0, false},             {"TRACKVERT", "Image", 0, false},
      {"MDICONTROLS", "Image", 12, false},
  };
  for (const TShippedSkin* skin : {&DefaultSkin(), &GraphiteSkin()}) {
    auto check = [&](const std::string& section, const std::string& key, int frames, bool vertical) {
      const TPixmap image = skin->Bitmap(section, key);
      if (image.Empty()) return;
      ASSERT_GT(frames, 0) << section << " " << key;
      EXPECT_EQ((vertical ? image.Height() : image.Width()) % frames, 0) << section << " " << key << " in " << frames;
    };
    for (const TRule& r : rules) check(r.Section, r.Key, r.Frames ? r.Frames : skin->Number(r.Section, "Frame", 0), r.Vertical);
    check("Progress", "Bitmap", skin->Number("Progress", "Style", 0) != 0 ? 1 : 2, false);
    check("Headerbar", "Image", skin->Number("Headerbar", "Frame", 0) ? skin->Number("Headerbar", "Frame", 0) : 5, false);
    for (const char* thumb : {"HorzScrollThumb", "VertScrollThumb"}) check(thumb, "Image", skin->Number(thumb, "FrameCount", 3), false);
    for (const char* side : {"Left", "Right", "Top", "Bottom"})
      check("Personality", side, skin->Number("Personality", std::string(side) + "Frame", 1),
            std::string(side) == "Top" || std::string(side) == "Bottom");
    for (const char* key : {"CheckButton", "RadioButton"}) {
      const TPixmap image = skin->Bitmap("Buttons", key);
      const int cells = std::max(4, image.Width() / (image.Height() < 16 ? 13 : 16));
      check("Buttons", key, skin->Number("Buttons", std::string(key) == "CheckButton" ? "CheckButtonFrame" : "RadioButtonFrame", cells),
            false);
    }
    for (const std::string& section : skin->CaptionButtons()) {
      const TPixmap image = skin->Bitmap(section, "ButtonImage");
      if (image.Empty()) continue;
      const double ratio = double(image.Width()) / image.Height();
      const int frames = skin->Number(section, "frame", 0) ? skin->Number(section, "frame", 0) : ratio <= 3.8 ? 3 : 6;
      check(section, "ButtonImage", frames, false);
    }
  }
}

}  // namespace
