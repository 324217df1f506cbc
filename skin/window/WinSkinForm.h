#pragma once
// TWinSkinForm: the window skinner. The skin manager attaches one to each skinned top-level window or
// MDI child. It sits in front of the window's procedure (and, for a framework form, of the form's own
// message dispatch), replaces the non-client area by the skin's borders, title bar, caption text and
// caption buttons, cuts the window's region where the border images are transparent, keeps the client
// area's size inside the new frame, and gives everything back exactly when skinning ends.
//
// Painting and the region are in WinSkinFormPaint.cpp, the caption buttons in NCObject.cpp.
#include "skin/window/ControlPainter.h"
#include "skin/window/NCObject.h"
#include "ui/Component.h"
#include "ui/Control.h"
#include "ui/Handles.h"
#include "ui/SubclassIds.h"
#include "ui/Types.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

class TBitmap;
class TCustomForm;
class TSkinData;
class TTimer;

enum TSkinnerState { ssAttached = 0, ssSkinned = 1, ssRefreshing = 3, ssDestroying = 4, ssSizing = 5, ssFinished = 6 };
enum TWindowKind { wkNormal = 0, wkMdiFrame = 1, wkMdiChild = 2 };
enum TFrameKind { fkSizeable = 0, fkSingle = 1, fkNone = 2, fkDialog = 3 };
enum TShowState { ssNormal = 0, ssMaximized = 1, ssMinimized = 2 };

// Which caption buttons the window's style asks for.
enum : unsigned { bfMaximize = 1, bfMinimize = 2, bfSystemMenu = 8, bfHiddenCaption = 0x10 };

// The frame's thicknesses: left and right borders, title bar (top) and bottom border.
struct TFrameMetrics {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    friend bool operator==(const TFrameMetrics&, const TFrameMetrics&) = default;
};

class TWinSkinMenu;

class TWinSkinForm : public TComponent {
public:
    CLARIVO_CLASS

    explicit TWinSkinForm(TComponent* owner);
    ~TWinSkinForm() override;

    // Skins a framework form (its colour, its message dispatch, the window).
    void AttachToForm(TSkinData& Skin, TCustomForm& Form);
    // Skins a window the framework does not know (a message box, a dialog of another module).
    void AttachToWindow(TSkinData& Skin, HWND Window);

    // Skinning ends: style, menu, region, colour and the client area's size as they were.
    void RestoreWindow();
    // A new skin was loaded: frame metrics, caption buttons, colours and size follow it.
    void RefreshSkin();
    // The frame thicknesses from the skin's border images, and new caption buttons.
    void ReadFrameMetrics();
    // The skin is about to be replaced: caption buttons (which show its elements) and border pieces go;
    // the refresh that follows the new skin makes them again.
    void DropSkinElements();
    // Sizes the window so that its client area keeps its size inside the skin's frame.
    void ApplyFrameSize(bool ReadClient);

    // Paints the whole non-client area (into DC, or the window's own).
    void PaintNonClient(HDC DC = nullptr);
    // Paints the title bar alone (caption buttons in their states) into the window's own DC.
    void RepaintTitleBar();
    // The window's region after a size change: the frame's transparent pixels cut away. Redraw: repaint
    // the window for it (not needed while a size change is handled: that repaints the frame anyway).
    void UpdateRegion(bool Redraw = true);
    void RemoveRegion(bool Redraw);

    // Frame coordinates (origin at the window's top-left corner) of a screen point.
    TPoint WindowToFrame(TPoint ScreenPoint) const;
    // The non-client object (caption button) under a frame point, or null.
    TNCObject* ObjectAt(TPoint FramePoint) const;
    void ShowSystemMenu(TPoint ScreenPoint);
    void ToggleMaximize();
    void ToggleMinimize();
    void Restore();

    HWND Handle() const { return FHandle; }
    TCustomForm* Form() const { return FForm; }
    TSkinData* Skin() const { return FSkin; }
    const std::wstring& ClassName() const { return FClassName; }
    int State() const { return FState; }
    bool FrameSkinned() const { return FFrameSkinned; }
    TWindowKind WindowKind() const { return FWindowKind; }
    TFrameKind FrameKind() const { return FFrameKind; }
    unsigned ButtonFlags() const { return FButtonFlags; }
    TShowState ShowState() const { return FShowState; }
    bool WindowActive() const { return FActive; }
    bool RightToLeft() const { return FRightToLeft; }
    bool IsDialog() const { return FDialog; }
    const TFrameMetrics& Metrics() const { return FMetrics; }
    int MenuHeight() const { return FMenuHeight; }
    // The skin's menu bar that stands for the window's own, or null.
    TWinSkinMenu* MenuBar() const { return FMenuBar.get(); }
    TSize WindowSize() const { return FWindowSize; }
    const TRect& CaptionTextRect() const { return FCaptionRect; }
    const std::vector<std::unique_ptr<TWinSysButton>>& CaptionButtons() const { return FButtons; }
    TNCObject* HotObject() const { return FHotObject; }
    void SetHotObject(TNCObject* Object) { FHotObject = Object; }
    void ClearHotObject();
    HMENU SystemMenu() const { return FSystemMenu; }
    bool HasRegion() const { return FRegionSet; }
    // The caption buttons' shared 250 ms timer (stopped before the window closes).
    void StopTimer();
    // The button flags a visibility rule reads.
    bool IsCaptionButtonVisible(TWinSysButton& Button);
    // Lays the caption buttons out against the caption text and the window's edges.
    void LayoutCaptionButtons();
    // The window's small icon drawn into Rect.
    void DrawIcon(HDC DC, const TRect& Rect) const;
    // Whether the window's system menu has a Close item.
    bool HasCloseItem() const;
    // Puts the caption style back (true) or takes it away while skinned (only with a hidden caption).
    void SetCaptionStyle(bool On);

    // ---- The painters of the window's controls ----
    const std::vector<TControlPainter*>& Painters() const { return FPainters; }
    // A painter registers itself as it attaches (once) and leaves as it is freed.
    void AddPainter(TControlPainter* Painter);
    void RemovePainter(TControlPainter* Painter);
    // The painter of a control window or of a framework control, or null.
    TControlPainter* PainterOfWindow(HWND Window) const;
    TControlPainter* PainterOfControl(const TControl* Control) const;
    // Frees the painters whose windows are gone.
    void FreeFinishedPainters();

private:
    static SUBCLASSPROC SubclassProc() { return MemberSubclassProc<TWinSkinForm, &TWinSkinForm::WindowProc>; }
    static SUBCLASSPROC MdiClientProc() { return MemberSubclassProc<TWinSkinForm, &TWinSkinForm::MdiClientMessage>; }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT FrameProc(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT SkinnedProc(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT MdiClientMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // Gives the MDI client its own procedure back and the manager forgets it.
    void ReleaseMdiClient();
    LRESULT Pass(UINT msg, WPARAM wParam, LPARAM lParam);
    void FormWindowProc(TMessage& Message);

    void Attach(TSkinData& Skin, HWND Window);
    void Detach();
    void Start();
    void ReadShowState();
    void ReadIcon();
    void SizeHandling(WPARAM Kind);
    // The menu bar's rows for the window's width: the frame follows when they change.
    void UpdateMenuHeight();
    LRESULT CalcSize(WPARAM wParam, LPARAM lParam);
    LRESULT HitTest(LPARAM lParam);
    void MaxInfo(MINMAXINFO& Info) const;
    LRESULT NonClientMouse(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnTimer();
    // Detaches every painter whose control still exists and frees them all.
    void FreePainters();
    // A new caption text or icon (WM_SETTEXT, WM_SETICON), shown in the skin at once.
    LRESULT CaptionChange(UINT msg, WPARAM wParam, LPARAM lParam);

    // Painting (WinSkinFormPaint.cpp).
    void PaintBorderPiece(int Side, const TRect& Rect, HDC DC);
    // The nine-part image of a border (1 left, 2 right, 3 top, 4 bottom) at a size, for the window's
    // state; kept until the size or the state changes.
    TBitmap* BorderPiece(int Side, TSize Size);
    void DropBorderPieces();
    void PaintTitleBar(HDC DC);
    void DrawCaptionText(TBitmap& Target, const TRect& Title);
    std::wstring CaptionText() const;

    HWND FHandle = nullptr;
    TCustomForm* FForm = nullptr;
    TWndMethod FOldFormProc;
    std::wstring FClassName;
    HWND FOwnerWindow = nullptr;
    TSkinData* FSkin = nullptr;
    HWND FMdiClient = nullptr;
    bool FSubclassed = false;
    bool FAttached = false;
    bool FStarted = false;

    int FState = ssAttached;
    bool FFrameSkinned = false;
    TWindowKind FWindowKind = wkNormal;
    TFrameKind FFrameKind = fkSizeable;
    bool FDialog = false;
    unsigned FButtonFlags = 0;
    TShowState FShowState = ssNormal;
    bool FActive = true;
    bool FRightToLeft = false;
    bool FChild = false;
    bool FSizeable = false;
    bool FSavedMenuUpdate = true;
    bool FToldMaximized = false;  // what this MDI child last told the manager

    TFrameMetrics FMetrics;
    int FMenuHeight = 0;
    TRect FWindowRect;
    TSize FWindowSize;
    TSize FUnskinnedFrame;  // window size minus client size before skinning
    TRect FCaptionRect;
    int FRightButtonsLeft = 0;  // left edge of the rightmost right-aligned caption button

    HICON FIcon = nullptr;
    int FIconSize = 16;
    std::unique_ptr<TBitmap> FIconBitmap;
    HMENU FSystemMenu = nullptr;
    DWORD FLastSystemMenu = 0;
    int FDoubleClickTime = 500;

    std::vector<std::unique_ptr<TWinSysButton>> FButtons;
    std::vector<TControlPainter*> FPainters;  // owned by their controls, or by this skinner
    TNCObject* FHotObject = nullptr;
    std::unique_ptr<TWinSkinMenu> FMenuBar;  // for a window that had a menu bar when skinned

    TSize FRegionSize;
    bool FRegionMaximized = false;
    bool FRegionSet = false;

    struct TBorderPiece {
        std::unique_ptr<TBitmap> Image;
        TSize Size;
        int Frame = 0;
    };
    std::array<TBorderPiece, 4> FPieces;
    std::unique_ptr<TBitmap> FTitleBitmap;
    std::unique_ptr<TTimer> FTimer;
    TColor FFormColor = 0;
};
