// The edit painter on real edits: the frame on screen is the skin's in each state, typing and
// selecting still work, a borderless edit keeps its look, and a detached edit is itself again.
#include "SkinnedForm.h"
#include "skin/controls/SkinEdit.h"
#include "skin/data/SkinData.h"
#include "skin/window/SkinMessages.h"
#include "ui/Edit.h"

#include "Pump.h"

#include <gtest/gtest.h>

#include <string>

namespace {

COLORREF WindowPixel(HWND wnd, int x, int y) {
    TWindowDC dc(wnd);
    return GetPixel(dc.get(), x, y);
}

class EditPainter : public SkinnedForm {
protected:
    EditPainter() : SkinnedForm({320, 200}) {
        edit = new TEdit(form);
        edit->SetParent(form);
        edit->SetBounds(10, 10, 150, 21);
        edit->SetText(L"Clarivo");
        edit->OnChange = [this](TObject*) { ++changes; };
        ShowSkinned();
    }

    TSkinEdit* PainterOf(TControl* control) const {
        return skinner ? dynamic_cast<TSkinEdit*>(skinner->PainterOfControl(control)) : nullptr;
    }
    COLORREF Shadow() const { return ColorToRGB(skin->ButtonShadowColor); }
    COLORREF Hilight() const { return ColorToRGB(skin->HilightColor); }
    COLORREF Face() const { return ColorToRGB(skin->FaceColor); }

    TEdit* edit = nullptr;
    int changes = 0;
};

TEST_F(EditPainter, TheFrameIsTheSkinsInEveryStateAndTypingStillWorks) {
    TSkinEdit* painter = PainterOf(edit);
    ASSERT_NE(painter, nullptr) << "discovery gave the edit no edit painter";
    ASSERT_NE(Shadow(), Hilight()) << "the skin cannot show the hot frame apart";
    const HWND wnd = edit->Handle();
    RedrawAll(wnd);
    EXPECT_EQ(painter->FrameState(), ffNormal);
    EXPECT_EQ(WindowPixel(wnd, 0, 0), Shadow());
    EXPECT_EQ(WindowPixel(wnd, 1, 1), RGB(255, 255, 255));

    // Focus and typing: the edit's own handling takes the keys, and the frame shows the focus.
    edit->SetFocus();
    Pump(2);
    SendMessageW(wnd, EM_SETSEL, 0, -1);
    for (wchar_t c : std::wstring(L"Found")) PostMessageW(wnd, WM_CHAR, c, 1);
    Pump(3);
    EXPECT_EQ(edit->Text(), L"Found");
    EXPECT_GT(changes, 0);
    SendMessageW(wnd, EM_SETSEL, 1, 3);
    DWORD from = 0, to = 0;
    SendMessageW(wnd, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 1u);
    EXPECT_EQ(to, 3u);
    EXPECT_EQ(painter->FrameState(), ffHot);
    EXPECT_EQ(WindowPixel(wnd, 0, 0), Hilight()) << "the focused frame is not drawn after typing";

    // Hover alone makes it hot too, and leaving cools it.
    form->SetFocus();
    Pump(2);
    EXPECT_EQ(WindowPixel(wnd, 0, 0), Shadow());
    SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(painter->FrameState(), ffHot);
    EXPECT_EQ(WindowPixel(wnd, 0, 0), Hilight());
    SendMessageW(wnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(painter->FrameState(), ffNormal);
    EXPECT_EQ(WindowPixel(wnd, 0, 0), Shadow());

    edit->SetEnabled(false);
    RedrawAll(wnd);
    EXPECT_EQ(painter->FrameState(), ffDisabled);
    EXPECT_EQ(WindowPixel(wnd, 1, 1), Face());
    SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(painter->FrameState(), ffDisabled) << "a disabled edit turned hot";
}

// Bare edits of every border kind, single-line and memo: framed exactly when their window has a border
// outside the client area.
TEST_F(EditPainter, EveryBorderedEditIsFramedAndABorderlessOneIsLeftAlone) {
    struct TCase {
        const wchar_t* Name;
        DWORD Style, ExStyle;
        bool Framed;
    };
    const TCase cases[] = {
        {L"sunken", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, true},
        // The edit takes WS_BORDER off its window and draws that line inside its client area itself.
        {L"flat", ES_AUTOHSCROLL | WS_BORDER, 0, false},
        {L"memo", ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL, WS_EX_CLIENTEDGE, true},
        {L"borderless", ES_AUTOHSCROLL, 0, false},
    };
    int top = 50;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        HWND wnd = AddSystemControl(L"EDIT", L"line one", c.Style, TRect::FromBounds(10, top, 200, 40));
        if (c.ExStyle) {
            SetWindowLongPtrW(wnd, GWL_EXSTYLE, c.ExStyle);
            SetWindowPos(wnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
        }
        top += 45;
        AttachPainter<TSkinEdit>(wnd);
        RedrawAll(wnd);
        EXPECT_EQ(WindowPixel(wnd, 0, 0) == Shadow(), c.Framed);
        if (!c.Framed) continue;
        RECT r{};
        GetWindowRect(wnd, &r);
        EXPECT_EQ(WindowPixel(wnd, r.right - r.left - 1, r.bottom - r.top - 1), Shadow()) << "the far corner";
        // Typing reaches the memo and the bare edits as before.
        SendMessageW(wnd, EM_SETSEL, 0, -1);
        SendMessageW(wnd, WM_CHAR, L'x', 1);
        wchar_t text[16]{};
        GetWindowTextW(wnd, text, 16);
        EXPECT_STREQ(text, L"x");
    }
}

TEST_F(EditPainter, DetachingGivesTheEditBackExactly) {
    HWND wnd = AddSystemControl(L"EDIT", L"bare", ES_AUTOHSCROLL, TRect::FromBounds(10, 50, 150, 22));
    SetWindowLongPtrW(wnd, GWL_EXSTYLE, WS_EX_CLIENTEDGE);
    SetWindowPos(wnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    RedrawAll(wnd);
    const TWindowHooks own = TWindowHooks::Of(wnd);
    const COLORREF nativeCorner = WindowPixel(wnd, 0, 0);
    ASSERT_NE(nativeCorner, Shadow()) << "the native border looks like the skin's; the test cannot tell them apart";

    auto* painter = AttachPainter<TSkinEdit>(wnd);
    RedrawAll(wnd);
    EXPECT_EQ(WindowPixel(wnd, 0, 0), Shadow());
    EXPECT_EQ(SendMessageW(wnd, WM_SKINQUERY, 0, 0), 1);
    painter->Detach();
    delete painter;

    EXPECT_TRUE(TWindowHooks::Of(wnd) == own) << "procedure or styles not given back";
    EXPECT_EQ(SendMessageW(wnd, WM_SKINQUERY, 0, 0), 0);
    RedrawAll(wnd);
    EXPECT_EQ(WindowPixel(wnd, 0, 0), nativeCorner) << "the native border did not come back";

    // A framework edit gets its own message handling back.
    TSkinEdit* framework = PainterOf(edit);
    ASSERT_NE(framework, nullptr);
    framework->Detach();
    delete framework;
    EXPECT_EQ(edit->Perform(WM_SKINQUERY), 0);
    EXPECT_EQ(skinner->PainterOfControl(edit), nullptr);
    edit->SetText(L"still an edit");
    EXPECT_EQ(edit->Text(), L"still an edit");
}

TEST_F(EditPainter, RepaintsAndHoverHoldNoHandles) {
    const HWND wnd = edit->Handle();
    RedrawAll(wnd);
    ExpectHandlesSteady(200, [wnd] {
        SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        SendMessageW(wnd, WM_MOUSELEAVE, 0, 0);
        RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
        SendMessageW(wnd, WM_PRINT, 0, PRF_NONCLIENT | PRF_CLIENT);
    });
}

}  // namespace
