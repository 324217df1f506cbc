#include "ClarivoProcess.h"

#include "base/StrUtils.h"

#include <stdexcept>

namespace {

// Structures go at the start of the remote block, texts after them.
constexpr std::size_t TextOffset = 512;
constexpr std::size_t TextChars = 4096;
constexpr UINT AnswerTimeoutMs = 20000;

std::runtime_error Failure(const std::string& what) { return std::runtime_error(what); }

}  // namespace

TClarivoProcess::TClarivoProcess(const std::wstring& exePath, const std::wstring& arguments) : FJob(CreateJobObjectW(nullptr, nullptr)) {
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!FJob || !SetInformationJobObject(FJob.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits))
        throw Failure("cannot make a job for the program");

    std::wstring commandLine = L"\"" + exePath + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    // Suspended until it is in the job, so that nothing it starts escapes the job.
    if (!CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        nullptr, &startup, &info))
        throw Failure("cannot start " + WideToUtf8(exePath) + Format(" (error %lu)", GetLastError()));
    FProcess.reset(info.hProcess);
    const UniqueKernelHandle thread(info.hThread);
    FProcessId = info.dwProcessId;
    if (!AssignProcessToJobObject(FJob.get(), FProcess.get())) {
        TerminateProcess(FProcess.get(), 1);
        throw Failure("cannot put the program into its job");
    }
    ResumeThread(thread.get());

    FMemory = std::make_unique<TRemoteMemory>(FProcess.get(), TextOffset + (TextChars + 1) * sizeof(wchar_t));
    FForm = WaitForTopWindow(L"TForm1", L"Clarivo", 60000);
    FTree = Child(WC_TREEVIEWW);
    FList = Child(WC_LISTVIEWW);
    FStatus = Child(STATUSCLASSNAMEW);
}

// The job's handle goes last and ends whatever still runs in it.
TClarivoProcess::~TClarivoProcess() = default;

HWND TClarivoProcess::TopWindow(const wchar_t* className, const wchar_t* caption) const {
    struct TSearch {
        DWORD ProcessId;
        const wchar_t *ClassName, *Caption;
        HWND Found;
    } search{FProcessId, className, caption, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto& s = *reinterpret_cast<TSearch*>(param);
            DWORD processId = 0;
            GetWindowThreadProcessId(window, &processId);
            wchar_t classText[64] = {}, captionText[64] = {};
            if (processId != s.ProcessId || !IsWindowVisible(window)) return TRUE;
            GetClassNameW(window, classText, 64);
            GetWindowTextW(window, captionText, 64);
            if (wcscmp(classText, s.ClassName) != 0 || (s.Caption && wcscmp(captionText, s.Caption) != 0)) return TRUE;
            s.Found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

HWND TClarivoProcess::WaitForTopWindow(const wchar_t* className, const wchar_t* caption, DWORD timeoutMs) const {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (HWND found = TopWindow(className, caption)) return found;
        if (WaitForSingleObject(FProcess.get(), 100) == WAIT_OBJECT_0)
            throw Failure(Format("the program ended (exit code %lu) before showing a window of class %s", ExitCode(),
                                 WideToUtf8(className).c_str()));
        if (GetTickCount64() > end)
            throw Failure(Format("no visible window of class %s after %lu ms", WideToUtf8(className).c_str(), timeoutMs));
    }
}

HWND TClarivoProcess::Child(const wchar_t* className, const wchar_t* caption) const {
    HWND child = FindWindowExW(FForm, nullptr, className, caption);
    if (!child)
        throw Failure("the window has no child of class " + WideToUtf8(className) +
                      (caption ? " captioned \"" + WideToUtf8(caption) + "\"" : std::string()));
    return child;
}

LRESULT TClarivoProcess::Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, AnswerTimeoutMs, &result))
        throw Failure(Format("the program did not answer message 0x%04X within %u ms", message, AnswerTimeoutMs));
    return static_cast<LRESULT>(result);
}

void TClarivoProcess::ClickAt(HWND window, POINT at) {
    // The pointer goes there too: controls ask where the message happened (GetMessagePos), and a posted
    // message carries the pointer's position of the moment it was posted.
    POINT screen = at;
    ClientToScreen(window, &screen);
    SetCursorPos(screen.x, screen.y);
    const LPARAM where = MAKELPARAM(at.x, at.y);
    PostMessageW(window, WM_MOUSEMOVE, 0, where);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, where);
    PostMessageW(window, WM_LBUTTONUP, 0, where);
}

std::wstring TClarivoProcess::WindowText(HWND window) {
    // WM_GETTEXT is one of the messages the system carries across processes itself.
    std::wstring text(static_cast<std::size_t>(Send(window, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

// ---- folder tree ----

HTREEITEM TClarivoProcess::TreeRoot() {
    return reinterpret_cast<HTREEITEM>(Send(FTree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
}

std::vector<HTREEITEM> TClarivoProcess::Children(HTREEITEM node) {
    Send(FTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node));
    std::vector<HTREEITEM> children;
    for (auto child = reinterpret_cast<HTREEITEM>(Send(FTree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(node)));
         child; child = reinterpret_cast<HTREEITEM>(Send(FTree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child))))
        children.push_back(child);
    return children;
}

std::wstring TClarivoProcess::NodeText(HTREEITEM node) {
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = node;
    item.pszText = static_cast<LPWSTR>(FMemory->At(TextOffset));
    item.cchTextMax = static_cast<int>(TextChars);
    FMemory->Put(item);
    FMemory->Put(L'\0', TextOffset);
    if (!Send(FTree, TVM_GETITEMW, 0, FMemory->Param())) throw Failure("the tree does not know a node asked for");
    return FMemory->Text(TextOffset, TextChars);
}

HTREEITEM TClarivoProcess::SelectedNode() {
    return reinterpret_cast<HTREEITEM>(Send(FTree, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

void TClarivoProcess::ClickNode(HTREEITEM node) {
    Send(FTree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(node));
    FMemory->Put(node);  // TVM_GETITEMRECT takes the node in the rectangle it fills
    if (!Send(FTree, TVM_GETITEMRECT, TRUE, FMemory->Param())) throw Failure("the node to click is not shown");
    const RECT rect = FMemory->Get<RECT>();
    ClickAt(FTree, {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

// ---- status line and list ----

std::wstring TClarivoProcess::StatusText() {
    // A bar in simple mode answers for part 0 with its simple text.
    const WPARAM part = 0;
    const auto length = static_cast<std::size_t>(LOWORD(Send(FStatus, SB_GETTEXTLENGTHW, part, 0)));
    if (length > TextChars) throw Failure("status line longer than expected");
    FMemory->Put(L'\0', TextOffset);
    Send(FStatus, SB_GETTEXTW, part, FMemory->Param(TextOffset));
    return FMemory->Text(TextOffset, length);
}

int TClarivoProcess::RowCount() { return static_cast<int>(Send(FList, LVM_GETITEMCOUNT, 0, 0)); }

std::vector<std::vector<std::wstring>> TClarivoProcess::Rows(int columns) {
    std::vector<std::vector<std::wstring>> rows(static_cast<std::size_t>(RowCount()));
    for (std::size_t i = 0; i < rows.size(); ++i)
        for (int column = 0; column < columns; ++column) {
            LVITEMW item{};
            item.iSubItem = column;
            item.pszText = static_cast<LPWSTR>(FMemory->At(TextOffset));
            item.cchTextMax = static_cast<int>(TextChars);
            FMemory->Put(item);
            FMemory->Put(L'\0', TextOffset);
            const auto length = static_cast<std::size_t>(Send(FList, LVM_GETITEMTEXTW, i, FMemory->Param()));
            rows[i].push_back(FMemory->Text(TextOffset, std::min(length, TextChars)));
        }
    return rows;
}

// ---- message boxes ----

// The class of dialog boxes, message boxes among them.
constexpr const wchar_t* DialogClass = L"#32770";

bool TClarivoProcess::ShowsMessageBox() { return TopWindow(DialogClass, nullptr) != nullptr; }

std::wstring TClarivoProcess::AnswerMessageBox(DWORD timeoutMs) {
    const HWND box = WaitForTopWindow(DialogClass, nullptr, timeoutMs);
    // A message box's text is the static control numbered 0xFFFF (its icon is another static).
    HWND text = GetDlgItem(box, 0xFFFF);
    const std::wstring said = text ? WindowText(text) : std::wstring();
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return said;
}

// ---- ending ----

bool TClarivoProcess::CloseAndWait(DWORD timeoutMs) {
    PostMessageW(FForm, WM_CLOSE, 0, 0);
    return WaitForSingleObject(FProcess.get(), timeoutMs) == WAIT_OBJECT_0;
}

DWORD TClarivoProcess::ExitCode() const {
    DWORD code = 0;
    GetExitCodeProcess(FProcess.get(), &code);
    return code;
}

DWORD TClarivoProcess::ProcessesStarted() const {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
    if (!QueryInformationJobObject(FJob.get(), JobObjectBasicAccountingInformation, &accounting, sizeof accounting, nullptr))
        throw Failure("cannot read the job's accounting");
    return accounting.TotalProcesses;
}
