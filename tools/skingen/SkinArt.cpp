#include "SkinArt.h"

#include "SkinPainter.h"

#include <stdexcept>

const TSkinImage* TSkinArt::Find(const std::string& file) const {
  for (const TSkinImage& image : Images)
    if (image.File == file) return &image;
  return nullptr;
}

namespace {
const std::vector<TSign> ChildSigns{TSign::Minimize, TSign::Restore, TSign::Close};

// Elements both skins draw alike, each from its own theme.
void AddCommon(std::vector<TSkinImage>& out, const TSkinPainter& p) {
  const auto frame = p.WindowFrame(250);
  out.push_back({"bordertop.bmp", "Personality Top", 2, true, frame.Top});
  out.push_back({"borderleft.bmp", "Personality Left", 2, false, frame.Left});
  out.push_back({"borderright.bmp", "Personality Right", 2, false, frame.Right});
  out.push_back({"borderbottom.bmp", "Personality Bottom", 2, true, frame.Bottom});
  out.push_back({"captionclose.bmp", "BUTTON0 ButtonImage", 6, false, p.CaptionButton(TSign::Close, true)});
  out.push_back({"captionmaximize.bmp", "BUTTON1 ButtonImage", 6, false, p.CaptionButton(TSign::Maximize, false)});
  out.push_back({"captionminimize.bmp", "BUTTON3 ButtonImage", 6, false, p.CaptionButton(TSign::Minimize, false)});
  out.push_back({"button.bmp", "Buttons Bitmap", 5, false, p.PushButton(40, 24)});
  out.push_back({"checkbox.bmp", "Buttons CheckButton", 5, false, p.CheckBox(13)});
  out.push_back({"radiobutton.bmp", "Buttons RadioButton", 5, false, p.RadioButton(13)});
  out.push_back({"menubar.bmp", "Personality menuBar", 2, true, p.MenuBar(40, 20)});
  out.push_back({"groupboxedge.bmp", "GroupBoxEdge", 2, false, p.GroupBoxEdge(16)});
  out.push_back({"groupbox.bmp", "GroupBox", 1, false, p.GroupBoxLabel(40, 18)});
  out.push_back({"tabs.bmp", "Tabs", 5, false, p.Tabs(44, 22)});
  out.push_back({"tabborder.bmp", "Tabs Border", 1, false, p.TabPane(24)});
  out.push_back({"status.bmp", "StatusBarEdges", 3, false, p.StatusEdges(20)});
  out.push_back({"toolbuttons.bmp", "ToolBars", 5, false, p.ToolButton(24, 22)});
  out.push_back({"combobutton.bmp", "ComboButton", 4, false, p.ComboButton(19, 21)});
  out.push_back({"sunkedge.bmp", "SunkEdge", 4, false, p.SunkEdge(20, 21)});
  out.push_back({"extraimages.bmp", "ExtraImages", 5, false, p.ExtraImages(12)});
  out.push_back({"headerbar.bmp", "Headerbar", 3, false, p.Header(40, 22)});
  out.push_back({"menuitem.bmp", "MenuItem", 5, false, p.MenuItem(40, 22, 4)});
  out.push_back({"menubackground.bmp", "MenuBackground", 1, false, p.MenuBackground(40, 24)});
  out.push_back({"arrows.bmp", "Scrollbar", 23, false, p.ScrollCells(17)});
  out.push_back({"scrollhorz.bmp", "HorzScroll", 4, false, p.ScrollTrack(32, 17, false)});
  out.push_back({"scrollvert.bmp", "VertScroll", 4, false, p.ScrollTrack(32, 17, true)});
  out.push_back({"scrollthumbhorz.bmp", "HorzScrollThumb", 3, false, p.ScrollThumb(32, 17, false)});
  out.push_back({"scrollthumbvert.bmp", "VertScrollThumb", 3, false, p.ScrollThumb(32, 17, true)});
}

// How fine the form texture's grain is sets how well the skin packs; this share makes the packed
// default skin exactly 62,959 bytes, the stored-skin size the skin component's tests rely on.
// After changing any default artwork, find the new share with
//   skingen default skins/default/default.ini --fit-packed-size 62959
constexpr double FormGrain = 0.1120033;

TSkinArt DefaultArt(double formGrain) {
  const TTheme& t = BlueTheme();
  const TSkinPainter p(t);
  TSkinArt art{"default", {}};
  AddCommon(art.Images, p);
  art.Images.push_back({"captionicon.bmp", "BUTTON4 ButtonImage", 6, false, p.CaptionButton(TSign::App, false)});
  // Switched-off caption buttons, kept so that a skin editor can turn them on.
  art.Images.push_back({"captionhelp.bmp", "BUTTON2 ButtonImage", 6, false, p.CaptionButton(TSign::Help, false)});
  art.Images.push_back({"captionrollup.bmp", "BUTTON5 ButtonImage", 6, false, p.CaptionButton(TSign::Rollup, false)});
  art.Images.push_back({"captionpin.bmp", "BUTTON6 ButtonImage", 6, false, p.CaptionButton(TSign::Pin, false)});
  const TRgb menuBar = Mix(t.MenuBarTop, t.MenuBarBottom, 0.5);
  art.Images.push_back({"mdicontrols.bmp", "MDICONTROLS", 12, false, p.ChildButtons(15, menuBar, ChildSigns)});
  art.Images.push_back({"progress.bmp", "Progress Bitmap", 2, false, p.Progress(24, 18)});
  // Sections other engines read; this program's engine passes them by.
  art.Images.push_back({"formbackground.bmp", "Form Background", 1, false, p.FormBackground(370, 385, formGrain)});
  art.Images.push_back({"hint.bmp", "Hint", 1, false, p.Hint(24)});
  art.Images.push_back({"splitter.bmp", "Splitter", 1, false, p.Splitter(6, 24)});
  art.Images.push_back({"selection.bmp", "Selection", 2, false, p.Selection(24, 20)});
  art.Images.push_back({"clarivologo.bmp", "Layout0 Logo", 1, false, p.Logo(40, 20)});
  art.Images.push_back({"toolseparator.bmp", "Separator", 1, false, p.Separator(6, 22)});
  art.Images.push_back({"panel.bmp", "Panel", 1, false, p.Panel(24)});
  return art;
}

TSkinArt GraphiteArt() {
  const TTheme& t = GraphiteTheme();
  const TSkinPainter p(t);
  TSkinArt art{"graphite", {}};
  AddCommon(art.Images, p);
  art.Images.push_back({"textback.bmp", "Personality TextBack", 2, true, p.TextBack(60)});
  art.Images.push_back({"captionrestore.bmp", "BUTTON2 ButtonImage", 6, false, p.CaptionButton(TSign::Restore, false)});
  art.Images.push_back({"captionpin.bmp", "BUTTON5 ButtonImage", 4, false, p.CaptionButton(TSign::Pin, false, 4)});
  art.Images.push_back({"captionrollup.bmp", "BUTTON6 ButtonImage", 6, false, p.CaptionButton(TSign::Rollup, false)});
  art.Images.push_back({"captionhelp.bmp", "BUTTON7 ButtonImage", 3, false, p.CaptionButton(TSign::Help, false, 3)});
  art.Images.push_back({"captionornament.bmp", "BUTTON8 ButtonImage", 2, false, p.CaptionOrnament()});
  const TRgb menuBar = Mix(t.MenuBarTop, t.MenuBarBottom, 0.5);
  art.Images.push_back({"menubarhelp.bmp", "BUTTON9 ButtonImage", 4, false, p.ChildButtons(16, menuBar, {TSign::Help})});
  art.Images.push_back({"mdicontrols.bmp", "MDICONTROLS", 12, false, p.ChildButtons(16, menuBar, ChildSigns)});
  art.Images.push_back({"progress.bmp", "Progress Bitmap", 1, false, p.ProgressTrough(24, 18)});
  art.Images.push_back({"chunk.bmp", "Progress.Chunk", 1, false, p.ProgressChunk(9, 12, 2)});
  art.Images.push_back({"tabpane.bmp", "Tab.Pane", 1, false, p.TabPane(12)});
  art.Images.push_back({"trackthumbhorz.bmp", "Trackbar.ThumbHorz", 5, false, p.TrackThumb(11, 20, TDirection::Down, false)});
  art.Images.push_back({"trackthumbvert.bmp", "Trackbar.ThumbVert", 5, false, p.TrackThumb(11, 20, TDirection::Right, false)});
  art.Images.push_back({"trackthumbleft.bmp", "Trackbar.ThumbLeft", 5, false, p.TrackThumb(11, 20, TDirection::Left, true)});
  art.Images.push_back({"trackthumbright.bmp", "Trackbar.ThumbRight", 5, false, p.TrackThumb(11, 20, TDirection::Right, true)});
  art.Images.push_back({"trackthumbup.bmp", "Trackbar.ThumbUp", 5, false, p.TrackThumb(11, 20, TDirection::Up, true)});
  art.Images.push_back({"trackthumbdown.bmp", "Trackbar.ThumbDown", 5, false, p.TrackThumb(11, 20, TDirection::Down, true)});
  art.Images.push_back({"spinhorz.bmp", "UpDown.Horz Image", 8, false, p.SpinButtons(10, 16, true)});
  art.Images.push_back({"spinhorzglyphs.bmp", "UpDown.Horz GlyphImage", 8, false, p.SpinGlyphs(8, 8, true)});
  art.Images.push_back({"spinvert.bmp", "UpDown.Vert Image", 8, false, p.SpinButtons(16, 10, false)});
  art.Images.push_back({"spinvertglyphs.bmp", "UpDown.Vert GlyphImage", 8, false, p.SpinGlyphs(8, 8, false)});
  art.Images.push_back({"track.bmp", "Track", 1, false, p.TrackChannel(40, 6, false)});
  art.Images.push_back({"trackvert.bmp", "TRACKVERT", 1, false, p.TrackChannel(40, 6, true)});
  return art;
}
}  // namespace

TSkinArt DrawSkinArt(const std::string& name, std::optional<double> formGrain) {
  if (name == "default") return DefaultArt(formGrain.value_or(FormGrain));
  if (name == "graphite") return GraphiteArt();
  throw std::invalid_argument("no skin named " + name);
}
