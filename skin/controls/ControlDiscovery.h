#pragma once
// Control discovery: when a window is first skinned, its controls are found and each one that should be
// skinned gets the painter of its kind. A framework form's controls are decided by the skin's
// OnSkinControl event, then its Skin3rd lines (class name = kind), then a fixed chain of tests on the
// control's class; a window without framework form (a system dialog) has its child windows decided by
// window class and style. The skin's SkinControls set gates each kind, and controls whose Tag is the
// skin's DisableTag are left alone.
//
// Painters are made by kind through makers that each painter registers; a kind without a maker makes
// no painter (its controls keep their own look).
#include "skin/controls/SkinControl.h"

#include <string>

class TSkinData;
class TWinSkinForm;

enum class TPainterKind {
    Button, BitButton, PngBitButton, MenuButton, SpeedButton,
    CheckBox, RadioButton, GroupBox, Box, BoxH,
    Scrollbar, SingleScrollbar, ListView, Sizer, ScrollControl, WindowScrollbars,
    Edit, ComBox, UpDown, DateTime,
    Tab, Tab31, AdvPage, Progress, TrackBar, StatusBar, MediaPlayer,
    TabBtn, TabSheet,
    ObjImageCheck, ObjImageRadio, ObjImageCx,
};

using TPainterMaker = TSkinControl* (*)(TComponent* Owner);
// Registers (or with null, removes) the maker of a kind's painter.
void RegisterPainter(TPainterKind Kind, TPainterMaker Maker);
// A new painter of the kind owned by Owner, or null when no painter of that kind exists.
TSkinControl* MakePainter(TPainterKind Kind, TComponent* Owner);

// Installs discovery into the window skinner (once per program, before windows are skinned).
void InstallControlPainters();

// The steps, also callable on their own.
void DiscoverControls(TWinSkinForm& Skinner);
void ClassifyControl(TWinSkinForm& Skinner, TControl& Control, TControl& Owner);
// True when the skin's Skin3rd lines decided the control (UpperClass: its class name in upper case).
bool ClassifyBySkin3rd(TWinSkinForm& Skinner, const std::string& UpperClass, TControl& Control);
void ClassifyChildWindow(TWinSkinForm& Skinner, HWND Child);
void Rescroll(TWinSkinForm& Skinner, HWND Control);
