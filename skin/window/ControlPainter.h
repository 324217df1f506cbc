#pragma once
// What a skinned window knows of the painters that draw its controls, and of the discovery that makes
// them. Both live in the control painters' module (skin/controls), which sits above this one: the
// window skinner keeps its painters through this interface and asks for discovery through the hooks
// that module installs. A program without that module skins frames only.
#include "ui/Component.h"

#include <windows.h>

class TControl;
class TWinSkinForm;

class TControlPainter : public TComponent {
public:
    using TComponent::TComponent;

    // The control's window (null for a windowless control).
    virtual HWND Window() const = 0;
    // The framework control painted, or null for a bare window.
    virtual TControl* Control() const = 0;
    // The control's window has been destroyed: nothing may be sent to it any more.
    virtual bool Finished() const = 0;
    // Gives the control its own look back (colours, background) before the painter is freed.
    virtual void Detach() = 0;
    // The skin has changed: colours again, and a repaint.
    virtual void Reskin() = 0;
    // A list view's scroll painter (replaced by another of its kind on request).
    virtual bool PaintsListView() const { return false; }
};

// Control discovery, installed by the painters' module.
struct TControlDiscovery {
    // Attaches painters to the controls of a window at its first skinning.
    void (*DiscoverControls)(TWinSkinForm& Skinner) = nullptr;
    // Attaches a painter to one child window of a window without framework form.
    void (*ClassifyChildWindow)(TWinSkinForm& Skinner, HWND Child) = nullptr;
    // Replaces the painter of a control window by a new scroll-bar painter.
    void (*Rescroll)(TWinSkinForm& Skinner, HWND Control) = nullptr;
};
void SetControlDiscovery(const TControlDiscovery& Discovery);
const TControlDiscovery& ControlDiscovery();
