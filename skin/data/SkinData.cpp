#include "skin/data/SkinData.h"

#include "base/Exception.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinLoader.h"
#include "skin/data/SkinManagerLink.h"
#include "skin/data/SkinPlatform.h"
#include "skin/data/SkinReader.h"
#include "skin/draw/SkinDraw.h"
#include "ui/Application.h"
#include "ui/Properties.h"

namespace {

// Painter kinds for controls of other libraries, grouped by kind in the order each kind first occurs.
// Three classes stand twice; the kinds keep the case they were stored with.
const wchar_t* const BuiltInSkin3rd[] = {
    L"TCategoryButtons=scrollbar", L"TVirtualStringTree=scrollbar", L"TVirtualDrawTree=scrollbar",
    L"TAdvPanelGroup=scrollbar", L"THTMLViewer=scrollbar", L"TDBCtrlGrid=scrollbar", L"TImageEnMView=scrollbar",
    L"TImageEnView=scrollbar", L"TAdvMemo=scrollbar", L"TDBAdvMemo=scrollbar",
    L"TPngBitBtn=pngbitbtn",
    L"TTBXDockablePanel=Panel", L"TControlBar=Panel", L"TTBDock=Panel", L"TTBToolbar=Panel", L"TLMDGROUPBOX=Panel",
    L"TLMDSIMPLEPANEL=Panel", L"TLMDDBCalendar=Panel", L"TLMDButtonPanel=Panel", L"TLMDLMDCalculator=Panel",
    L"TLMDHeaderPanel=Panel", L"TLMDTechnicalLine=Panel", L"TLMDLMDClock=Panel",
    L"TComboboxex=combobox", L"TcxDBLookupComboBox=combobox", L"TcxDBComboBox=combobox", L"TcxDBDateEdit=combobox",
    L"TcxDBImageComboBox=combobox", L"TcxDBCalcEdit=combobox", L"TcxDBBlobEdit=combobox", L"TcxDBPopupEdit=combobox",
    L"TcxDBFontNameComboBox=combobox", L"TcxDBShellComboBox=combobox", L"TRxLookupEdit=combobox",
    L"TRxDBLookupCombo=combobox", L"TRzDateTimeEdit=combobox", L"TRzColorEdit=combobox",
    L"TRzDateTimePicker=combobox", L"TRzDBDateTimeEdit=combobox", L"TRzDbColorEdit=combobox",
    L"TRzDBDateTimePicker=combobox", L"TLMDListCombobox=combobox", L"TLMDCheckListCombobox=combobox",
    L"TLMDHeaderListCombobox=combobox", L"TLMDImageCombobox=combobox", L"TLMDColorCombobox=combobox",
    L"TLMDFontCombobox=combobox", L"TLMDFontSizeCombobox=combobox", L"TLMDFontSizeCombobox=combobox",
    L"TLMDPrinterCombobox=combobox", L"TLMDDriveCombobox=combobox", L"TLMDCalculatorComboBox=combobox",
    L"TLMDTrackBarComboBox=combobox", L"TLMDCalendarComboBox=combobox", L"TLMDTreeComboBox=combobox",
    L"TWWTempKeyCombo=combobox",
    L"TRxSpeedButton=speedbutton", L"TfrSpeedButton=speedbutton", L"TfrTBButton=speedbutton",
    L"TRzGroup=panel", L"TLMDCalculator=panel", L"TLMDTrackbar=panel",
    L"TRzButton=button",
    L"TRzBitbtn=bitbtn", L"TLMDButton=bitbtn", L"TcxButton=bitbtn",
    L"TRzMenuButton=menubtn",
    L"TRzCheckGroup=CheckGroup", L"TLMDCheckGroup=CheckGroup", L"TLMDDBCheckGroup=CheckGroup",
    L"TRzRadioGroup=Radiogroup", L"TRzDBRadioGroup=Radiogroup",
    L"TRzButtonEdit=Edit", L"TLMDEDIT=Edit", L"TLMDMASKEDIT=Edit", L"TLMDBROWSEEDIT=Edit", L"TLMDEXTSPINEDIT=Edit",
    L"TLMDCALENDAREDIT=Edit", L"TLMDFILEOPENEDIT=Edit", L"TLMDFILESAVEEDIT=Edit", L"TLMDCOLOREDIT=Edit",
    L"TLMDDBEDIT=Edit", L"TLMDDBMASKEDIT=Edit", L"TLMDDBEXTSPINEDIT=Edit", L"TLMDDBSPINEDIT=Edit",
    L"TLMDDBEDITDBLookup=Edit", L"TLMDEDITDBLookup=Edit", L"TWWDBEDIT=Edit", L"TOVCPICTUREFIELD=Edit",
    L"TOVCDBPICTUREFIELD=Edit", L"TOVCSLIDEREDIT=Edit", L"TOVCDBSLIDEREDIT=Edit", L"TOVCSIMPLEFIELD=Edit",
    L"TOVCDBSIMPLEFIELD=Edit", L"TO32DBFLEXEDIT=Edit", L"TOVCNUMERICFIELD=Edit", L"TOVCDBNUMERICFIELD=Edit",
    L"TRzDBRadioButton=Radiobutton", L"TLMDRadiobutton=Radiobutton",
    L"TLMDGroupBox=Groupbox",
    L"TDBCheckboxEh=Checkbox", L"TDBCheckboxEh=Checkbox", L"TLMDCHECKBOX=Checkbox", L"TLMDDBCHECKBOX=Checkbox",
    L"TLMDRADIOGROUP=radiogroup", L"TLMDDBRADIOGROUP=radiogroup", L"TWWRADIOGROUP=radiogroup",
    L"TcxDBRadioGroup=radiogroup", L"TcxRadioGroup=radiogroup",
    L"TLMDCalculatorEdit=edit",
    L"TDBLookupCombobox=Combobox", L"TWWDBCombobox=Combobox", L"TWWDBCombobox=Combobox", L"TWWDBLookupCombo=Combobox",
    L"TWWKeyCombo=Combobox", L"TWWDBDateTimePicker=Combobox",
    L"TcxGroupbox=groupbox",
};

constexpr unsigned RequestDelay = 250;

}  // namespace

const TClassInfo TSkinData::MetaClass(
    "TSkinData", &TComponent::MetaClass, ComponentFactory<TSkinData>,
    {
        BoolProp<TSkinData>("Active", &TSkinData::Active, &TSkinData::SetActive),
        IntProp<TSkinData>("DisableTag", &TSkinData::DisableTag, &TSkinData::SetDisableTag),
        SetProp<TSkinData, TSkinControlTypes>(
            "SkinControls",
            {"xcMainMenu", "xcPopupMenu", "xcMenuItem", "xcToolbar", "xcControlbar", "xcCombo", "xcCheckBox",
             "xcRadioButton", "xcProgress", "xcScrollbar", "xcEdit", "xcButton", "xcBitBtn", "xcSpeedButton", "xcSpin",
             "xcPanel", "xcGroupBox", "xcStatusBar", "xcTab", "xcTrackBar", "xcSystemMenu", "xcFastReport"},
            &TSkinData::SkinControls, &TSkinData::SetSkinControls),
        SetProp<TSkinData, TSkinOptions>("Options",
                                         {"xoMDIScrollbar", "xoMenuMerge", "xoTransparent", "xoPreview",
                                          "xoParentBackGround", "xoNoFocusRect", "xoToolbarBK", "xoMDIChildBorder",
                                          "xoMenuBG", "xoFormScrollbar"},
                                         &TSkinData::Options, &TSkinData::SetOptions),
        StrProp<TSkinData>("Skin3rd", &TSkinData::Skin3rdText, &TSkinData::SetSkin3rdText),
        StrProp<TSkinData>("SkinFile", [](const TSkinData& s) { return s.SkinFile(); }, &TSkinData::SetSkinFile),
        // Shown to a designer only; a stored value is accepted and changes nothing.
        StrProp<TSkinData>("SkinStore", &TSkinData::SkinStore, [](TSkinData&, const std::wstring&) {}),
        EnumProp<TSkinData, TSkinFormType>("SkinFormtype", {"sfMainform", "sfOnlyThisForm", "sfDialog", "sfDLL"},
                                           &TSkinData::SkinFormtype, &TSkinData::SetSkinFormtype),
        StrProp<TSkinData>("Version", &TSkinData::Version, [](TSkinData&, const std::wstring&) {}),
        BoolProp<TSkinData>("MenuUpdate", &TSkinData::MenuUpdate, &TSkinData::SetMenuUpdate),
        BoolProp<TSkinData>("MenuMerge", &TSkinData::MenuMerge, &TSkinData::SetMenuMerge),
        EventProp<TSkinData>("OnFormSkin", &TSkinData::OnFormSkin),
        EventProp<TSkinData>("OnSkinChanged", &TSkinData::OnSkinChanged),
        EventProp<TSkinData>("OnSkinControl", &TSkinData::OnSkinControl),
        EventProp<TSkinData>("OnBeforeSkinForm", &TSkinData::OnBeforeSkinForm),
        EventProp<TSkinData>("OnAfterSkinForm", &TSkinData::OnAfterSkinForm),
    });

TSkinData::TSkinData(TComponent* owner)
    : TComponent(owner),
      BorderLeft(std::make_unique<TDataSkinBorder>("Left")),
      BorderRight(std::make_unique<TDataSkinBorder>("Right")),
      BorderTop(std::make_unique<TDataSkinBorder>("Top")),
      BorderBottom(std::make_unique<TDataSkinBorder>("Bottom")),
      Buttons(std::make_unique<TDataSkinButton>("Buttons")),
      Title(std::make_unique<TDataSkinTitle>("Title")),
      TextColor(SystemColor(COLOR_WINDOWTEXT)),
      FaceColor(SystemColor(COLOR_BTNFACE)),
      ScrollbarColor(SystemColor(COLOR_SCROLLBAR)),
      HilightTextColor(SystemColor(COLOR_HIGHLIGHTTEXT)),
      HilightColor(SystemColor(COLOR_HIGHLIGHT)),
      MenuBarColor(SystemColor(COLOR_BTNFACE)),
      MenuColor(SystemColor(COLOR_MENU)),
      MenuTextColor(SystemColor(COLOR_MENUTEXT)),
      ButtonTextColor(SystemColor(COLOR_BTNTEXT)),
      ButtonHilightColor(SystemColor(COLOR_BTNHIGHLIGHT)),
      ButtonLightColor(SystemColor(COLOR_BTNHIGHLIGHT)),
      ButtonShadowColor(SystemColor(COLOR_BTNSHADOW)),
      ButtonDkShadowColor(SystemColor(COLOR_3DDKSHADOW)),
      MenuBarTextColor(SystemColor(COLOR_MENUTEXT)),
      TitleTextActiveColor(SystemColor(COLOR_CAPTIONTEXT)),
      TitleTextInactiveColor(SystemColor(COLOR_INACTIVECAPTIONTEXT)),
      AppIconBitmap(std::make_unique<TBitmap>()),
      CaptionFont(std::make_unique<TFont>()),
      MenuGlyphs(std::make_unique<TImageList>(nullptr)) {
    CustomColors.fill(clWhite);
    AppIconBitmap->SetPixelFormat(pf24bit);
    FSkin3rd.assign(std::begin(BuiltInSkin3rd), std::end(BuiltInSkin3rd));
    MenuGlyphs->LoadFromResourceName(GetModuleHandleW(nullptr), L"ORRERYMENU", 16, clWhite);
    MaximizedWidth = GetSystemMetrics(SM_CXMAXIMIZED);
    MaximizedHeight = GetSystemMetrics(SM_CYMAXIMIZED);
}

TSkinData::~TSkinData() {
    if (TSkinManagerLink* manager = SkinManagerLink()) manager->UnregisterSkinData(this);
}

std::wstring TSkinData::Skin3rdText() const {
    std::wstring text;
    for (const std::wstring& line : FSkin3rd) text += line + L"\r\n";
    return text;
}

void TSkinData::SetSkin3rdText(const std::wstring& text) {
    FSkin3rd.clear();
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos) end = text.size();
        FSkin3rd.push_back(text.substr(start, end - start));
        start = end;
        if (start < text.size() && text[start] == L'\r') ++start;
        if (start < text.size() && text[start] == L'\n') ++start;
    }
}

bool TSkinData::ReadBinaryProperty(std::string_view name, TStream& data) {
    if (name != "SkinStream") return TComponent::ReadBinaryProperty(name, data);
    ReadSkinStream(data);
    return true;
}

void TSkinData::ReadSkinStream(TStream& Stream) {
    const auto count = Stream.ReadValue<int32_t>();
    if (count <= 0) return;
    const int64_t available = Stream.Size() - Stream.Position();
    if (count > available)
        throw EReadError("SkinStream states " + std::to_string(count) + " bytes but holds " + std::to_string(available));
    SkinStream.Clear();
    SkinStream.SetSize(count);
    SkinStream.SetPosition(0);
    Stream.ReadBuffer(SkinStream.Memory(), static_cast<size_t>(count));
    LoadSkin();
}

void TSkinData::WriteSkinStream(TStream& Stream) const {
    const auto size = static_cast<int32_t>(SkinStream.Bytes().size());
    Stream.WriteBuffer(&size, sizeof size);
    if (size > 0) Stream.WriteBuffer(SkinStream.Memory(), static_cast<size_t>(size));
}

bool TSkinData::LoadSkin() {
    SkinPending = true;
    TSkinReader reader;
    SkinStream.SetPosition(0);
    if (!reader.LoadArchive(SkinStream)) return false;
    // A skin without a description still loads: every element is then absent and every value default.
    TMemoryStream description;
    std::string found;
    reader.FindMember(".ini", description, found);
    description.SetPosition(0);
    TQuickIni ini;
    ini.LoadFromStream(&description);
    TSkinManagerLink* manager = SkinManagerLink();
    if (manager) manager->SkinLoading(this);
    try {
        TSkinLoader(*this, reader, ini).ParseSkin();
    } catch (...) {
        // Half a skin is no skin: the windows wearing this one go back to their own frames.
        if ((manager = SkinManagerLink())) manager->SkinUnusable(this);
        throw;
    }
    return true;
}

void TSkinData::SetSkinFile(const std::wstring& value) {
    SkinPending = true;
    FSkinFile = value;
    const DWORD attributes = GetFileAttributesW(value.c_str());
    if (value.empty() || attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
    SkinStream.LoadFromFile(value);
    LoadSkin();
    ApplyNewSkin();
}

void TSkinData::ApplyNewSkin() {
    if (IsLoading()) return;
    if (!SkinManagerLink()) Loaded();
    if (TSkinManagerLink* manager = SkinManagerLink()) manager->SkinReplaced(this);
}

void TSkinData::Loaded() {
    TComponent::Loaded();
    if (!SkinPlatform().GetScrollBarInfo) FSkinControls &= ~SkinBit(xcScrollbar);
    TSkinManagerLink* manager = NeedSkinManager();
    if (manager) manager->RegisterSkinData(this);
    LoadCaptionFont();
    if (FSkinFormtype != sfMainform) {
        if (manager) manager->StartFormSkin(this);
        return;
    }
    if (manager) manager->InstallHook();
    if (FActive) {
        if (SkinPending || !manager)
            FActive = false;  // no skin could be loaded (or none can be shown): the program runs unskinned
        else {
            manager->RequestChange(scActivate, RequestDelay);
            manager->SkinOwnerForm(this);
        }
    }
    if (HasControl(xcMainMenu))
        FSkinControls &= ~SkinBit(xcMenuItem);
    else
        FSkinControls &= ~SkinBit(xcSystemMenu);
    MakeAppIconBitmap();
}

void TSkinData::SetActive(bool value) {
    if (value == FActive) return;
    FActive = value;
    if (IsLoading() || FSkinFormtype == sfDialog || FSkinFormtype == sfDLL) return;
    // A component whose Loaded never ran still gets a manager to ask.
    TSkinManagerLink* manager = NeedSkinManager();
    if (!manager) return;
    manager->RegisterSkinData(this);
    // Switching on waits for a skin; switching off is always asked for.
    if (FSkinFormtype == sfOnlyThisForm) {
        manager->SetRequester(this);
        if (!(value && SkinPending)) manager->RequestChange(value ? scActivate : scDeactivate, RequestDelay);
        return;
    }
    if (value && SkinPending) return;
    manager->SetRequester(this);
    manager->RequestChange(value ? scActivate : scDeactivate, RequestDelay);
    if (value) manager->MarkRunning();
}

void TSkinData::CheckFormSkin(HWND Window, const std::wstring& ClassName, bool& DoSkin) {
    FormSkinWindow = Window;
    if (OnFormSkin) {
        OnFormSkin(this, ClassName, DoSkin);
        return;
    }
    if (ClassName == L"SysMonthCal32" || (HasControl(xcFastReport) && ClassName.rfind(L"Tfr", 0) == 0)) DoSkin = false;
}

void TSkinData::DoSkinChanged() {
    if (OnSkinChanged) OnSkinChanged(this);
}

void TSkinData::LoadCaptionFont() {
    CaptionFont = std::make_unique<TFont>();
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        CaptionFont->AssignLogFont(metrics.lfCaptionFont);
}

void TSkinData::MakeAppIconBitmap() {
    const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
    HWND app = Application().Handle();
    auto icon = reinterpret_cast<HICON>(SendMessageW(app, WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(app, WM_GETICON, ICON_BIG, 0));
    if (!icon) return;
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(cx, cy);
    bitmap->Canvas()->Brush()->SetColor(SkinKeyColor);
    bitmap->Canvas()->FillRect({0, 0, cx, cy});
    UniqueIcon copy(static_cast<HICON>(CopyImage(icon, IMAGE_ICON, cx, cy, LR_COPYFROMRESOURCE)));
    DrawIconEx(bitmap->Canvas()->Handle(), 0, 0, copy ? copy.get() : icon, cx, cy, 0, nullptr, DI_NORMAL);
    bitmap->SetTransparentColor(SkinKeyColor);
    bitmap->SetTransparent(true);
    AppIconBitmap = std::move(bitmap);
}
