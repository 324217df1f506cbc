#pragma once
// TShellTreeView: a tree of the shell's namespace rooted at My Computer (or the desktop), with the
// shell's own names and icons. A node's children are read from the shell when it is first expanded.
// With AutoRefresh on, a watcher thread waits for changes in the selected folder and hands each one
// to the GUI thread, which then refreshes the selected node.
#include "base/UniqueHandle.h"
#include "ui/ComPtr.h"
#include "ui/WinControl.h"

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

// An item ID list (absolute unless said otherwise), freed with CoTaskMemFree.
namespace shell_detail {
inline void FreePidl(LPITEMIDLIST pidl) noexcept { CoTaskMemFree(pidl); }
}  // namespace shell_detail
using UniquePidl = UniqueHandle<NullHandleTraits<LPITEMIDLIST, shell_detail::FreePidl>>;

// What the tree lists: bit n is element n of the published set.
enum TShellObjectType { otFolders, otNonFolders, otHidden };
using TShellObjectTypes = uint32_t;
constexpr TShellObjectTypes ShellObjectBit(TShellObjectType t) { return 1u << t; }

enum TRootFolder { rfDesktop, rfMyComputer };

// The class name the skin's control discovery knows tree views by.
class TCustomTreeView : public TWinControl {
public:
    CLARIVO_CLASS
    using TWinControl::TWinControl;
};

class TShellChangeWatcher;

class TShellTreeView : public TCustomTreeView {
public:
    CLARIVO_CLASS

    explicit TShellTreeView(TComponent* owner);
    ~TShellTreeView() override;

    TRootFolder Root() const { return FRoot; }
    void SetRoot(TRootFolder root);
    // Setting the types rebuilds the tree from its root, which ends expanded and selected.
    TShellObjectTypes ObjectTypes() const { return FObjectTypes; }
    void SetObjectTypes(TShellObjectTypes types);
    bool AutoRefresh() const { return FAutoRefresh; }
    void SetAutoRefresh(bool value);

    // The shell's parsing name of the selected node's item, relative to the desktop: a file-system
    // folder's full path ("C:\" for a drive), the shell's identifier form for a virtual folder such as
    // My Computer; "" when nothing is selected.
    std::wstring Path();
    // Selects the node of a parsing name, expanding the nodes above it; false when it is not in the tree.
    bool SetPath(const std::wstring& path);

    // Nodes. A null node is "none".
    HTREEITEM RootNode();
    HTREEITEM Selected();
    void Select(HTREEITEM node);
    // Reads the node's children from the shell if not done yet and shows them.
    void Expand(HTREEITEM node);
    bool Expanded(HTREEITEM node);
    std::vector<HTREEITEM> Children(HTREEITEM node);
    std::wstring NodeText(HTREEITEM node);
    std::wstring NodePath(HTREEITEM node);

    // Reads the node's children again with the current ObjectTypes, expands again those that were
    // expanded and restores the selected and the first visible node; the hourglass shows meanwhile.
    void Refresh(HTREEITEM node);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;

private:
    struct TNode {
        UniquePidl Pidl;
        bool Enumerated = false;
    };

    void Rebuild();
    HTREEITEM InsertNode(HTREEITEM parent, UniquePidl pidl, const std::wstring& text, bool hasChildren);
    // Reads and inserts the node's children; returns how many there are.
    int FillChildren(HTREEITEM node);
    TNode* FindNode(HTREEITEM node);
    HTREEITEM FindByPidl(HTREEITEM from, LPCITEMIDLIST pidl);
    void ReExpand(HTREEITEM node, const std::vector<UniquePidl>& expanded);
    void CollectExpanded(HTREEITEM node, std::vector<UniquePidl>& expanded);

    bool OnNotify(NMHDR& header, LRESULT& result);
    void SelectAt(POINT screenPoint);
    void WatchSelected();

    TComApartment FApartment;  // COM stays initialised on the GUI thread while the tree lives
    TRootFolder FRoot = rfMyComputer;
    TShellObjectTypes FObjectTypes = ShellObjectBit(otFolders) | ShellObjectBit(otHidden);
    bool FAutoRefresh = false;
    std::unordered_map<HTREEITEM, TNode> FNodes;
    std::unique_ptr<TShellChangeWatcher> FWatcher;
    unsigned FWatchGeneration = 0;
};
