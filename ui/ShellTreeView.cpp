#include "ui/ShellTreeView.h"

#include "base/FileName.h"
#include "ui/ComPtr.h"
#include "ui/Handles.h"
#include "ui/Properties.h"

#include <windowsx.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <utility>

// ---- shell helpers ----

namespace {

using UniqueChangeHandle = UniqueHandle<handle_detail::InvalidValueTraits<::FindCloseChangeNotification>>;

bool IsEmptyPidl(LPCITEMIDLIST pidl) { return !pidl || pidl->mkid.cb == 0; }

TComPtr<IShellFolder> Desktop() {
    TComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.put()))) desktop.reset();
    return desktop;
}

TComPtr<IShellFolder> BindFolder(LPCITEMIDLIST pidl) {
    TComPtr<IShellFolder> desktop = Desktop();
    if (!desktop || IsEmptyPidl(pidl)) return desktop;
    TComPtr<IShellFolder> folder;
    if (FAILED(desktop->BindToObject(pidl, nullptr, IID_IShellFolder, folder.put_void()))) folder.reset();
    return folder;
}

std::wstring FromAnsi(const char* text) {
    int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (size <= 1) return {};
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), size);
    wide.resize(static_cast<std::size_t>(size - 1));
    return wide;
}

// The text of a STRRET, freeing what it owns.
std::wstring TakeStrRet(STRRET& value, LPCITEMIDLIST pidl) {
    switch (value.uType) {
    case STRRET_WSTR: {
        std::wstring text = value.pOleStr ? value.pOleStr : L"";
        CoTaskMemFree(value.pOleStr);
        return text;
    }
    case STRRET_OFFSET:
        return FromAnsi(reinterpret_cast<const char*>(pidl) + value.uOffset);
    case STRRET_CSTR:
        return FromAnsi(value.cStr);
    }
    return {};
}

std::wstring DisplayName(IShellFolder* folder, LPCITEMIDLIST child, SHGDNF flags) {
    STRRET value{};
    if (FAILED(folder->GetDisplayNameOf(child, flags, &value))) return {};
    return TakeStrRet(value, child);
}

// The item's parsing name relative to the desktop.
std::wstring ParsingName(LPCITEMIDLIST pidl) {
    if (IsEmptyPidl(pidl)) {
        TComPtr<IShellFolder> desktop = Desktop();
        return desktop ? DisplayName(desktop.get(), pidl, SHGDN_FORPARSING) : std::wstring();
    }
    TComPtr<IShellFolder> parent;
    LPCITEMIDLIST last = nullptr;
    if (FAILED(SHBindToParent(pidl, IID_IShellFolder, parent.put_void(), &last))) return {};
    return DisplayName(parent.get(), last, SHGDN_FORPARSING);
}

// Whether path lies inside parent ("C:\" holds "C:\Windows", "C:\Windows" holds "C:\Windows\Fonts").
bool HoldsPath(std::wstring_view parent, std::wstring_view path) {
    if (parent.empty() || path.size() <= parent.size() || !SameFileName(path.substr(0, parent.size()), parent))
        return false;
    return parent.back() == L'\\' || path[parent.size()] == L'\\';
}

// The hourglass while the tree talks to the shell.
class TWaitCursor {
public:
    TWaitCursor() : FOld(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~TWaitCursor() { SetCursor(FOld); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;

private:
    HCURSOR FOld;
};

// The changed-folder message a watcher posts to the tree; wParam is the watcher's generation.
UINT FolderChangedMessage() {
    static const UINT message = RegisterWindowMessageW(L"Clarivo.ShellTreeView.FolderChanged");
    return message;
}

}  // namespace

// ---- the watcher thread ----

// Waits for changes in one folder and posts each to the tree; while one is posted and not yet taken,
// further changes are folded into it.
class TShellChangeWatcher {
public:
    TShellChangeWatcher(HWND target, WPARAM generation, const std::wstring& folder, DWORD filter)
        : FTarget(target),
          FGeneration(generation),
          FChange(FindFirstChangeNotificationW(folder.c_str(), FALSE, filter)),
          FStop(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        if (FChange && FStop) FThread = std::thread([this] { Run(); });
    }
    ~TShellChangeWatcher() {
        if (FThread.joinable()) {
            SetEvent(FStop.get());
            FThread.join();
        }
    }
    TShellChangeWatcher(const TShellChangeWatcher&) = delete;
    TShellChangeWatcher& operator=(const TShellChangeWatcher&) = delete;

    WPARAM Generation() const { return FGeneration; }
    // The tree has taken the posted change: the next one is posted again.
    void Acknowledge() { FPosted.store(false); }

private:
    void Run() noexcept {
        const HANDLE handles[2] = {FStop.get(), FChange.get()};
        while (WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
            if (!FPosted.exchange(true) && !PostMessageW(FTarget, FolderChangedMessage(), FGeneration, 0))
                FPosted.store(false);
            if (!FindNextChangeNotification(FChange.get())) return;
        }
    }

    HWND FTarget;
    WPARAM FGeneration;
    UniqueChangeHandle FChange;
    UniqueKernelHandle FStop;
    std::atomic<bool> FPosted{false};
    std::thread FThread;
};

// ---- TShellTreeView ----

const TClassInfo TCustomTreeView::MetaClass("TCustomTreeView", &TWinControl::MetaClass, nullptr, {});

const TClassInfo TShellTreeView::MetaClass(
    "TShellTreeView", &TCustomTreeView::MetaClass, ComponentFactory<TShellTreeView>,
    {
        BoolProp<TShellTreeView>("AutoRefresh", &TShellTreeView::AutoRefresh, &TShellTreeView::SetAutoRefresh),
        SetProp<TShellTreeView, TShellObjectTypes>("ObjectTypes", {"otFolders", "otNonFolders", "otHidden"},
                                                   &TShellTreeView::ObjectTypes, &TShellTreeView::SetObjectTypes),
        EnumProp<TShellTreeView, TRootFolder>("Root", {"rfDesktop", "rfMyComputer"}, &TShellTreeView::Root,
                                              &TShellTreeView::SetRoot),
    });

TShellTreeView::TShellTreeView(TComponent* owner) : TCustomTreeView(owner) {
    FColor = clWindow;
    SetTabStop(true);
}

TShellTreeView::~TShellTreeView() {
    FWatcher.reset();
    // The window goes while the nodes it reports deleting still exist.
    DestroyHandle();
}

void TShellTreeView::CreateParams(TCreateParams& params) {
    TCustomTreeView::CreateParams(params);
    params.WinClassName = WC_TREEVIEWW;
    // Lines and buttons, but none at the root level; the selection stays visible without the focus.
    params.Style |= TVS_HASBUTTONS | TVS_HASLINES | TVS_SHOWSELALWAYS;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TShellTreeView::CreateWnd() {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    TCustomTreeView::CreateWnd();
    HWND wnd = WindowHandle();
    SendMessageW(wnd, TVM_SETINDENT, 19, 0);
    // The shell's own small icons; the system image list belongs to the shell and is never freed here.
    // Asked for by attributes alone, so that no disk is touched.
    SHFILEINFOW info{};
    auto images = reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(
        L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info,
        SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    if (images) TreeView_SetImageList(wnd, images, TVSIL_NORMAL);
    Rebuild();
}

void TShellTreeView::DestroyWnd() {
    FWatcher.reset();
    TCustomTreeView::DestroyWnd();
    FNodes.clear();
}

// ---- properties ----

void TShellTreeView::SetRoot(TRootFolder root) {
    FRoot = root;
    if (HandleAllocated()) Rebuild();
}

void TShellTreeView::SetObjectTypes(TShellObjectTypes types) {
    FObjectTypes = types & (ShellObjectBit(otFolders) | ShellObjectBit(otNonFolders) | ShellObjectBit(otHidden));
    if (HandleAllocated()) Rebuild();
}

void TShellTreeView::SetAutoRefresh(bool value) {
    FAutoRefresh = value;
    WatchSelected();
}

// ---- nodes ----

TShellTreeView::TNode* TShellTreeView::FindNode(HTREEITEM node) {
    auto it = node ? FNodes.find(node) : FNodes.end();
    return it == FNodes.end() ? nullptr : &it->second;
}

HTREEITEM TShellTreeView::RootNode() { return TreeView_GetRoot(Handle()); }
HTREEITEM TShellTreeView::Selected() { return TreeView_GetSelection(Handle()); }
void TShellTreeView::Select(HTREEITEM node) { TreeView_SelectItem(Handle(), node); }

bool TShellTreeView::Expanded(HTREEITEM node) {
    return node && (TreeView_GetItemState(Handle(), node, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

std::vector<HTREEITEM> TShellTreeView::Children(HTREEITEM node) {
    std::vector<HTREEITEM> children;
    HWND wnd = Handle();
    for (HTREEITEM child = TreeView_GetChild(wnd, node); child; child = TreeView_GetNextSibling(wnd, child))
        children.push_back(child);
    return children;
}

std::wstring TShellTreeView::NodeText(HTREEITEM node) {
    wchar_t buffer[MAX_PATH] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = node;
    item.pszText = buffer;
    item.cchTextMax = MAX_PATH;
    return node && TreeView_GetItem(Handle(), &item) ? buffer : L"";
}

std::wstring TShellTreeView::NodePath(HTREEITEM node) {
    TNode* data = FindNode(node);
    return data ? ParsingName(data->Pidl.get()) : std::wstring();
}

std::wstring TShellTreeView::Path() {
    return HandleAllocated() ? NodePath(Selected()) : std::wstring();
}

bool TShellTreeView::SetPath(const std::wstring& path) {
    // The shell's own spelling of the path (long names, the file system's case) where it knows it.
    std::wstring target = path;
    if (TComPtr<IShellFolder> desktop = Desktop()) {
        LPITEMIDLIST parsed = nullptr;
        ULONG eaten = 0;
        if (SUCCEEDED(desktop->ParseDisplayName(nullptr, nullptr, target.data(), &eaten, &parsed, nullptr))) {
            UniquePidl owner(parsed);
            if (std::wstring name = ParsingName(owner.get()); !name.empty()) target = name;
        }
    }
    HTREEITEM node = RootNode();
    if (node && SameFileName(NodePath(node), target)) {
        Select(node);
        return true;
    }
    while (node) {
        Expand(node);
        HTREEITEM next = nullptr;
        for (HTREEITEM child : Children(node)) {
            std::wstring childPath = NodePath(child);
            if (SameFileName(childPath, target)) {
                Select(child);
                return true;
            }
            if (HoldsPath(childPath, target)) {
                next = child;
                break;
            }
        }
        node = next;
    }
    return false;
}

HTREEITEM TShellTreeView::InsertNode(HTREEITEM parent, UniquePidl pidl, const std::wstring& text, bool hasChildren) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
    insert.item.pszText = const_cast<wchar_t*>(text.c_str());
    insert.item.iImage = I_IMAGECALLBACK;
    insert.item.iSelectedImage = I_IMAGECALLBACK;
    insert.item.cChildren = hasChildren ? 1 : 0;
    HTREEITEM item = TreeView_InsertItem(WindowHandle(), &insert);
    if (item) FNodes[item] = TNode{std::move(pidl), false};
    return item;
}

void TShellTreeView::Rebuild() {
    FWatcher.reset();
    HWND wnd = WindowHandle();
    TreeView_DeleteAllItems(wnd);
    FNodes.clear();
    LPITEMIDLIST raw = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, FRoot == rfMyComputer ? CSIDL_DRIVES : CSIDL_DESKTOP, &raw))) return;
    UniquePidl root(raw);
    SHFILEINFOW info{};
    SHGetFileInfoW(reinterpret_cast<LPCWSTR>(root.get()), 0, &info, sizeof info, SHGFI_PIDL | SHGFI_DISPLAYNAME);
    HTREEITEM node = InsertNode(TVI_ROOT, std::move(root), info.szDisplayName, true);
    Expand(node);
    Select(node);
}

int TShellTreeView::FillChildren(HTREEITEM node) {
    TNode* data = FindNode(node);
    if (!data) return 0;
    data->Enumerated = true;
    TComPtr<IShellFolder> folder = BindFolder(data->Pidl.get());
    if (!folder) return 0;

    SHCONTF flags = 0;
    if (FObjectTypes & ShellObjectBit(otFolders)) flags |= SHCONTF_FOLDERS;
    if (FObjectTypes & ShellObjectBit(otNonFolders)) flags |= SHCONTF_NONFOLDERS;
    // Hidden items include the hidden system ones: those are what this program looks for.
    const bool hidden = (FObjectTypes & ShellObjectBit(otHidden)) != 0;
    if (hidden) flags |= SHCONTF_INCLUDEHIDDEN | SHCONTF_INCLUDESUPERHIDDEN;

    struct TChild {
        UniquePidl Relative;
        SFGAOF Attributes;
    };
    std::vector<TChild> children;
    TComPtr<IEnumIDList> items;
    // No owner window: a drive without a medium must not ask the user for one.
    if (flags != 0 && folder->EnumObjects(nullptr, flags, items.put()) == S_OK && items) {
        LPITEMIDLIST child = nullptr;
        ULONG fetched = 0;
        while (items->Next(1, &child, &fetched) == S_OK && fetched == 1) {
            UniquePidl owned(child);
            SFGAOF attributes = SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_HIDDEN;
            LPCITEMIDLIST one = owned.get();
            if (FAILED(folder->GetAttributesOf(1, &one, &attributes))) attributes = 0;
            // The shell may list hidden items by the user's own setting; the tree follows ObjectTypes.
            if (!hidden && (attributes & SFGAO_HIDDEN)) continue;
            children.push_back({std::move(owned), attributes});
        }
    }
    // The shell's own order (folders first, then by name). A merge sort: it stays within bounds even if a
    // folder's comparison fails or contradicts itself.
    std::stable_sort(children.begin(), children.end(), [&folder](const TChild& a, const TChild& b) {
        HRESULT order = folder->CompareIDs(0, a.Relative.get(), b.Relative.get());
        return SUCCEEDED(order) && static_cast<short>(HRESULT_CODE(order)) < 0;
    });

    HWND wnd = WindowHandle();
    const bool listsFiles = (FObjectTypes & ShellObjectBit(otNonFolders)) != 0;
    LPCITEMIDLIST parentPidl = data->Pidl.get();  // stays valid: inserting does not move map values
    for (TChild& child : children) {
        std::wstring text = DisplayName(folder.get(), child.Relative.get(), SHGDN_INFOLDER | SHGDN_NORMAL);
        UniquePidl absolute(ILCombine(parentPidl, child.Relative.get()));
        if (!absolute) continue;
        bool isFolder = (child.Attributes & SFGAO_FOLDER) != 0;
        bool hasChildren = isFolder && (listsFiles || (child.Attributes & SFGAO_HASSUBFOLDER));
        InsertNode(node, std::move(absolute), text, hasChildren);
    }
    if (children.empty()) {
        TVITEMW item{};
        item.mask = TVIF_CHILDREN;
        item.hItem = node;
        item.cChildren = 0;
        TreeView_SetItem(wnd, &item);
    }
    return static_cast<int>(children.size());
}

void TShellTreeView::Expand(HTREEITEM node) {
    TNode* data = FindNode(node);
    if (!data) return;
    if (!data->Enumerated) {
        TWaitCursor wait;
        FillChildren(node);
    }
    TreeView_Expand(Handle(), node, TVE_EXPAND);
}

HTREEITEM TShellTreeView::FindByPidl(HTREEITEM from, LPCITEMIDLIST pidl) {
    TNode* data = FindNode(from);
    if (!data || !pidl) return nullptr;
    if (ILIsEqual(data->Pidl.get(), pidl)) return from;
    for (HTREEITEM child : Children(from))
        if (HTREEITEM found = FindByPidl(child, pidl)) return found;
    return nullptr;
}

void TShellTreeView::CollectExpanded(HTREEITEM node, std::vector<UniquePidl>& expanded) {
    for (HTREEITEM child : Children(node)) {
        if (!Expanded(child)) continue;
        if (TNode* data = FindNode(child)) expanded.emplace_back(ILClone(data->Pidl.get()));
        CollectExpanded(child, expanded);
    }
}

void TShellTreeView::ReExpand(HTREEITEM node, const std::vector<UniquePidl>& expanded) {
    for (HTREEITEM child : Children(node)) {
        TNode* data = FindNode(child);
        if (!data) continue;
        bool was = std::any_of(expanded.begin(), expanded.end(),
                               [data](const UniquePidl& p) { return ILIsEqual(p.get(), data->Pidl.get()); });
        if (!was) continue;
        Expand(child);
        ReExpand(child, expanded);
    }
}

void TShellTreeView::Refresh(HTREEITEM node) {
    TNode* data = FindNode(node);
    if (!data) return;
    TWaitCursor wait;
    HWND wnd = WindowHandle();
    auto clone = [this](HTREEITEM item) {
        TNode* n = FindNode(item);
        return UniquePidl(n ? ILClone(n->Pidl.get()) : nullptr);
    };
    UniquePidl selected = clone(TreeView_GetSelection(wnd));
    UniquePidl firstVisible = clone(TreeView_GetFirstVisible(wnd));
    std::vector<UniquePidl> expanded;
    CollectExpanded(node, expanded);
    const bool wasExpanded = Expanded(node);

    SendMessageW(wnd, WM_SETREDRAW, FALSE, 0);
    for (HTREEITEM child : Children(node)) TreeView_DeleteItem(wnd, child);
    TVITEMW item{};
    item.mask = TVIF_CHILDREN;
    item.hItem = node;
    item.cChildren = 1;
    TreeView_SetItem(wnd, &item);
    FindNode(node)->Enumerated = false;
    FillChildren(node);
    if (wasExpanded) TreeView_Expand(wnd, node, TVE_EXPAND);
    ReExpand(node, expanded);

    // Back to the nodes that were selected and on top, or the nearest that is still there.
    HTREEITEM root = RootNode();
    HTREEITEM newSelected = FindByPidl(root, selected.get());
    if (!newSelected && selected) newSelected = node;
    if (newSelected && newSelected != TreeView_GetSelection(wnd)) TreeView_SelectItem(wnd, newSelected);
    if (HTREEITEM top = FindByPidl(root, firstVisible.get())) TreeView_SelectSetFirstVisible(wnd, top);
    SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(wnd, nullptr, TRUE);
}

// ---- change watching ----

void TShellTreeView::WatchSelected() {
    FWatcher.reset();
    if (!FAutoRefresh || !HandleAllocated()) return;
    TNode* data = FindNode(TreeView_GetSelection(WindowHandle()));
    wchar_t folder[MAX_PATH] = {};
    if (!data || !SHGetPathFromIDListW(data->Pidl.get(), folder)) return;  // nothing to watch in a virtual folder
    DWORD filter = FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_ATTRIBUTES;
    if (FObjectTypes & ShellObjectBit(otNonFolders)) filter |= FILE_NOTIFY_CHANGE_FILE_NAME;
    FWatcher = std::make_unique<TShellChangeWatcher>(WindowHandle(), ++FWatchGeneration, folder, filter);
}

// ---- messages ----

void TShellTreeView::SelectAt(POINT screenPoint) {
    TVHITTESTINFO hit{};
    hit.pt = screenPoint;
    ::ScreenToClient(WindowHandle(), &hit.pt);
    if (TreeView_HitTest(WindowHandle(), &hit) && (hit.flags & TVHT_ONITEM)) TreeView_SelectItem(WindowHandle(), hit.hItem);
}

void TShellTreeView::WndProc(TMessage& message) {
    if (message.Msg == FolderChangedMessage()) {
        if (FWatcher && FWatcher->Generation() == message.WParam) {
            FWatcher->Acknowledge();
            Refresh(TreeView_GetSelection(WindowHandle()));
        }
        return;
    }
    switch (message.Msg) {
    case WM_DESTROY:
        FWatcher.reset();
        break;
    case CN_NOTIFY:
        if (OnNotify(*reinterpret_cast<NMHDR*>(message.LParam), message.Result)) return;
        break;
    }
    TCustomTreeView::WndProc(message);
}

bool TShellTreeView::OnNotify(NMHDR& header, LRESULT& result) {
    switch (header.code) {
    case TVN_GETDISPINFOW: {
        TVITEMW& item = reinterpret_cast<NMTVDISPINFOW&>(header).item;
        TNode* data = FindNode(item.hItem);
        if (!data) return true;
        auto icon = [&data](UINT extra) {
            SHFILEINFOW info{};
            SHGetFileInfoW(reinterpret_cast<LPCWSTR>(data->Pidl.get()), 0, &info, sizeof info,
                           SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | extra);
            return info.iIcon;
        };
        if (item.mask & TVIF_IMAGE) item.iImage = icon(0);
        if (item.mask & TVIF_SELECTEDIMAGE) item.iSelectedImage = icon(SHGFI_OPENICON);
        item.mask |= TVIF_DI_SETITEM;
        return true;
    }
    case TVN_ITEMEXPANDINGW: {
        auto& change = reinterpret_cast<NMTREEVIEWW&>(header);
        TNode* data = FindNode(change.itemNew.hItem);
        if ((change.action & TVE_EXPAND) && data && !data->Enumerated) {
            TWaitCursor wait;
            result = FillChildren(change.itemNew.hItem) == 0;  // nothing to show: stay collapsed
        }
        return true;
    }
    case TVN_DELETEITEMW:
        FNodes.erase(reinterpret_cast<NMTREEVIEWW&>(header).itemOld.hItem);
        return true;
    case TVN_SELCHANGEDW:
        WatchSelected();
        return false;
    case NM_CLICK:
    case NM_RCLICK: {
        // The tree selects a clicked node only after telling of the click: select it first, so that the
        // click handler sees it; a right click selects as well.
        DWORD pos = GetMessagePos();
        SelectAt({GET_X_LPARAM(pos), GET_Y_LPARAM(pos)});
        if (header.code == NM_CLICK) DoClick();
        return false;
    }
    }
    return false;
}
