#pragma once
// Resource and control ids of the gallery's bare Win32 dialog, shared by SkinGallery.rc and the code.
#define IDD_GALLERY_DIALOG 100

#define IDC_DEFAULT_BUTTON 1001
#define IDC_PLAIN_BUTTON 1002
#define IDC_DISABLED_BUTTON 1003
#define IDC_AUTO_CHECK 1010
#define IDC_THREE_STATE 1011
#define IDC_DISABLED_CHECK 1012
#define IDC_LEFT_TEXT_CHECK 1013
#define IDC_RADIO_FIRST 1020
#define IDC_RADIO_SECOND 1021
#define IDC_RADIO_THIRD 1022
#define IDC_EDIT 1030
#define IDC_COMBO 1031
#define IDC_LIST 1032
#define IDC_SCROLLBAR 1033
#define IDC_TABS 1040
