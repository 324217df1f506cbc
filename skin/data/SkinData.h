#pragma once
// TSkinData: the component a form carries to get a skin. It keeps the packed skin in the form's stored
// description ("SkinStream"), loads it while the form is read (or loads a skin file named at run time),
// owns every element record, colour and image of the loaded skin, and switches skinning on and off
// through the process's skin manager. Window and control skinning read the skin only through it.
#include "base/MemoryStream.h"
#include "skin/data/SkinObjects.h"
#include "ui/Component.h"
#include "ui/Font.h"
#include "ui/Handles.h"
#include "ui/ImageList.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TControl;
class TSkinData;

enum TSkinControlType {
    xcMainMenu, xcPopupMenu, xcMenuItem, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton,
    xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcSpin, xcPanel, xcGroupBox,
    xcStatusBar, xcTab, xcTrackBar, xcSystemMenu, xcFastReport
};
using TSkinControlTypes = uint32_t;  // bit n = TSkinControlType n

enum TSkinOption {
    xoMDIScrollbar, xoMenuMerge, xoTransparent, xoPreview, xoParentBackGround, xoNoFocusRect, xoToolbarBK,
    xoMDIChildBorder, xoMenuBG, xoFormScrollbar
};
using TSkinOptions = uint16_t;  // bit n = TSkinOption n

enum TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

constexpr uint32_t SkinBit(int n) { return 1u << n; }
// Every kind of control except single menu items and report previews.
constexpr TSkinControlTypes DefaultSkinControls = 0x1FFFFB;
constexpr TSkinOptions DefaultSkinOptions = SkinBit(xoPreview) | SkinBit(xoToolbarBK);

// aName is the window's class name; DoSkin comes preset and may be changed.
using TOnFormSkin = std::function<void(TObject* Sender, const std::wstring& aName, bool& DoSkin)>;
using TOnSkinControl = std::function<void(TComponent* Sender, TSkinData* SkinData, TControl* Form, TControl* Control,
                                          const std::wstring& ControlClass, TComponent*& SkinnedControl)>;
using TOnSkinForm = std::function<void(TObject* Sender, HWND ahwnd, const std::wstring& aName)>;

class TSkinData : public TComponent {
public:
    CLARIVO_CLASS

    static constexpr const wchar_t* EngineVersion = L"4.12.07.30";

    explicit TSkinData(TComponent* owner);
    ~TSkinData() override;

    // ---- Published properties ----
    bool Active() const { return FActive; }
    void SetActive(bool value);
    int DisableTag() const { return FDisableTag; }
    void SetDisableTag(int value) { FDisableTag = value; }
    TSkinControlTypes SkinControls() const { return FSkinControls; }
    void SetSkinControls(TSkinControlTypes value) { FSkinControls = value; }
    TSkinOptions Options() const { return FOptions; }
    void SetOptions(TSkinOptions value) { FOptions = value; }
    // Lines "class name=painter kind" for controls of other libraries.
    const std::vector<std::wstring>& Skin3rd() const { return FSkin3rd; }
    void SetSkin3rd(const std::vector<std::wstring>& lines) { FSkin3rd = lines; }
    // The same lines as one text, CR LF after each (how a form description stores them).
    std::wstring Skin3rdText() const;
    void SetSkin3rdText(const std::wstring& text);
    const std::wstring& SkinFile() const { return FSkinFile; }
    // Loads the packed skin file named (when it exists) and applies it to the skinned windows.
    void SetSkinFile(const std::wstring& value);
    // "(none)" at run time: the stored skin is only shown as "(Good)" to a designer.
    std::wstring SkinStore() const { return L"(none)"; }
    TSkinFormType SkinFormtype() const { return FSkinFormtype; }
    void SetSkinFormtype(TSkinFormType value) { FSkinFormtype = value; }
    std::wstring Version() const { return EngineVersion; }
    bool MenuUpdate() const { return FMenuUpdate; }
    void SetMenuUpdate(bool value) { FMenuUpdate = value; }
    bool MenuMerge() const { return FMenuMerge; }
    void SetMenuMerge(bool value) { FMenuMerge = value; }

    bool HasControl(TSkinControlType kind) const { return (FSkinControls & SkinBit(kind)) != 0; }
    bool HasOption(TSkinOption option) const { return (FOptions & SkinBit(option)) != 0; }

    TOnFormSkin OnFormSkin;
    TNotifyEvent OnSkinChanged;
    TOnSkinControl OnSkinControl;
    TOnSkinForm OnBeforeSkinForm;
    TOnSkinForm OnAfterSkinForm;

    // ---- Stored skin and loading ----
    // "SkinStream" in a form description: a 32-bit byte count, then the packed skin.
    bool ReadBinaryProperty(std::string_view name, TStream& data) override;
    // Loads the stored skin at once (a form being read gets its skin before Loaded).
    void ReadSkinStream(TStream& Stream);
    void WriteSkinStream(TStream& Stream) const;
    // Loads the packed skin held in SkinStream. False when the archive is of another format version
    // (the user has been told); malformed data raises, and the skin then stays pending.
    bool LoadSkin();
    void Loaded() override;

    // The window filter's question for one window; DoSkin comes preset and is only ever cleared here.
    void CheckFormSkin(HWND Window, const std::wstring& ClassName, bool& DoSkin);
    virtual void DoSkinChanged();
    void LoadCaptionFont();
    void MakeAppIconBitmap();

    // ---- The loaded skin (read by window and control skinning) ----
    TMemoryStream SkinStream;
    bool SkinPending = true;
    bool NCPaintEnabled = true;
    HWND FormSkinWindow = nullptr;
    int MaximizedWidth = 0;
    int MaximizedHeight = 0;

    // Present for the component's whole life.
    std::unique_ptr<TDataSkinBorder> BorderLeft, BorderRight, BorderTop, BorderBottom;
    std::unique_ptr<TDataSkinButton> Buttons;
    std::unique_ptr<TDataSkinTitle> Title;
    std::vector<std::unique_ptr<TDataSkinSysButton>> CaptionButtons;
    // Present only while the loaded skin has them.
    std::unique_ptr<TDataSkinBorder> Progress;
    std::unique_ptr<TDataSkinObject> ProgressChunk, MenuBar, GroupBoxEdge;
    std::unique_ptr<TDataSkinBoxLabel> GroupBox;
    std::unique_ptr<TDataSkinBorder> Tabs;
    std::unique_ptr<TDataSkinObject> StatusBarEdges, TabPane, ToolBars;
    std::unique_ptr<TDataSkinBorder> ComboButton;
    std::unique_ptr<TDataSkinObject> SunkEdge, ExtraImages, Headerbar, MenuItem, MenuBackground, Scrollbar, HorzScroll,
        VertScroll, HorzScrollThumb, VertScrollThumb, TrackbarThumbHorz, TrackbarThumbVert, TrackbarThumbLeft,
        TrackbarThumbRight, TrackbarThumbUp, TrackbarThumbDown;
    std::unique_ptr<TDataSkinBorder> UpDownHorz, UpDownVert;
    std::unique_ptr<TDataSkinObject> Track, TrackVert;
    // Derived at the end of each load; once made they are kept (and refilled) by later loads.
    std::unique_ptr<TDataSkinObject> ComboArrow, ToolbarBack;

    TColor TextColor, FaceColor, ScrollbarColor, HilightTextColor, HilightColor, MenuBarColor, MenuColor,
        MenuTextColor, ButtonTextColor, ButtonHilightColor, ButtonLightColor, ButtonShadowColor, ButtonDkShadowColor,
        MenuBarTextColor, TitleTextActiveColor, TitleTextInactiveColor;
    // Element colour indexes (NormalColour ...) are positions in this table.
    std::vector<TColor> ColourTable;
    std::array<TColor, 10> CustomColors{};
    std::string SkinName;
    TColor FrameColor = 0;
    UniqueBrush FaceBrush;

    std::unique_ptr<TBitmap> AppIconBitmap;
    std::unique_ptr<TFont> CaptionFont;
    // The system menu's glyphs: 0 restore, 1 maximise, 2 minimise, 3 close.
    std::unique_ptr<TImageList> MenuGlyphs;

private:
    void ApplyNewSkin();

    bool FActive = false;
    int FDisableTag = 99;
    TSkinControlTypes FSkinControls = DefaultSkinControls;
    TSkinOptions FOptions = DefaultSkinOptions;
    std::vector<std::wstring> FSkin3rd;
    std::wstring FSkinFile;
    TSkinFormType FSkinFormtype = sfMainform;
    bool FMenuUpdate = true;
    bool FMenuMerge = false;
};
