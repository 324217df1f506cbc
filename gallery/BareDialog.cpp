#include "gallery/BareDialog.h"

#include "gallery/GalleryIds.h"

#include <commctrl.h>

#include <initializer_list>

namespace {

INT_PTR CALLBACK BareDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG: {
        CheckDlgButton(dialog, IDC_AUTO_CHECK, BST_CHECKED);
        CheckDlgButton(dialog, IDC_THREE_STATE, BST_INDETERMINATE);
        CheckDlgButton(dialog, IDC_DISABLED_CHECK, BST_CHECKED);
        CheckRadioButton(dialog, IDC_RADIO_FIRST, IDC_RADIO_THIRD, IDC_RADIO_SECOND);
        SetDlgItemTextW(dialog, IDC_EDIT, L"Some text");
        for (const wchar_t* item : {L"First choice", L"Second choice", L"Third choice"}) {
            SendDlgItemMessageW(dialog, IDC_COMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
            SendDlgItemMessageW(dialog, IDC_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        }
        for (const wchar_t* item : {L"Fourth choice", L"Fifth choice", L"Sixth choice", L"Seventh choice",
                                    L"Eighth choice", L"Ninth choice", L"Tenth choice"})
            SendDlgItemMessageW(dialog, IDC_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        SendDlgItemMessageW(dialog, IDC_COMBO, CB_SETCURSEL, 0, 0);
        SendDlgItemMessageW(dialog, IDC_LIST, LB_SETCURSEL, 1, 0);
        SCROLLINFO scroll{sizeof scroll, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 20, 30, 0};
        SetScrollInfo(GetDlgItem(dialog, IDC_SCROLLBAR), SB_CTL, &scroll, TRUE);
        // A dialog's own tab control, as property pages have it.
        int tab = 0;
        for (const wchar_t* caption : {L"General", L"Sharing", L"Security", L"Details"}) {
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<wchar_t*>(caption);
            SendDlgItemMessageW(dialog, IDC_TABS, TCM_INSERTITEMW, static_cast<WPARAM>(tab++), reinterpret_cast<LPARAM>(&item));
        }
        return TRUE;
    }
    case WM_HSCROLL: {
        // The scroll bar moves as the user asks.
        HWND bar = GetDlgItem(dialog, IDC_SCROLLBAR);
        SCROLLINFO scroll{sizeof scroll, SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(bar, SB_CTL, &scroll);
        switch (LOWORD(wParam)) {
        case SB_LINELEFT: scroll.nPos -= 1; break;
        case SB_LINERIGHT: scroll.nPos += 1; break;
        case SB_PAGELEFT: scroll.nPos -= static_cast<int>(scroll.nPage); break;
        case SB_PAGERIGHT: scroll.nPos += static_cast<int>(scroll.nPage); break;
        case SB_THUMBTRACK: scroll.nPos = scroll.nTrackPos; break;
        default: break;
        }
        scroll.fMask = SIF_POS;
        SetScrollInfo(bar, SB_CTL, &scroll, TRUE);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

INT_PTR ShowBareDialog(HWND owner) {
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_GALLERY_DIALOG), owner, BareDialogProc, 0);
}
