#pragma once
// The real program, started as a separate process and driven from outside as a user would: posted
// mouse clicks, and the common controls' own messages with their structures and texts placed in the
// program's memory. Every wait is bounded; a failure throws std::runtime_error saying what was awaited.
#include "RemoteMemory.h"

#include "base/WinHandle.h"

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

class TClarivoProcess {
public:
    // Starts exePath, with arguments after its quoted path on the command line, and waits for its main
    // window. The program runs in a job that ends whatever is still running in it (the program, or what
    // it started, such as the browser on close) when this object goes.
    explicit TClarivoProcess(const std::wstring& exePath, const std::wstring& arguments = {});
    ~TClarivoProcess();
    TClarivoProcess(const TClarivoProcess&) = delete;
    TClarivoProcess& operator=(const TClarivoProcess&) = delete;

    HWND Form() const { return FForm; }
    // The form's direct child of that class (and caption, when given).
    HWND Child(const wchar_t* className, const wchar_t* caption = nullptr) const;

    // A press and release of the left button at a point of the window's client area.
    void ClickAt(HWND window, POINT at);
    std::wstring WindowText(HWND window);

    // Folder tree. Children asks the tree to expand the node first (children are made on expanding).
    HTREEITEM TreeRoot();
    std::vector<HTREEITEM> Children(HTREEITEM node);
    std::wstring NodeText(HTREEITEM node);
    HTREEITEM SelectedNode();
    // Scrolls the node into view and clicks its text.
    void ClickNode(HTREEITEM node);

    std::wstring StatusText();

    // Waits for a message box of the program, returns its text and closes it with its OK button.
    std::wstring AnswerMessageBox(DWORD timeoutMs);
    // Whether the program shows a message box now.
    bool ShowsMessageBox();

    // Result list: the rows as the list view shows them, each with its caption and sub-items.
    int RowCount();
    std::vector<std::vector<std::wstring>> Rows(int columns);

    // Asks the window to close; true when the process has ended within timeoutMs.
    bool CloseAndWait(DWORD timeoutMs);
    DWORD ExitCode() const;
    // Processes that have run in the program's job, the program included.
    DWORD ProcessesStarted() const;

private:
    LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // A visible top-level window of the program of that class (and caption, when given), or null.
    HWND TopWindow(const wchar_t* className, const wchar_t* caption) const;
    // Waits for that window; throws, saying what, when the program ends first or timeoutMs pass.
    HWND WaitForTopWindow(const wchar_t* className, const wchar_t* caption, DWORD timeoutMs) const;

    UniqueKernelHandle FJob, FProcess;
    DWORD FProcessId = 0;
    HWND FForm = nullptr;
    HWND FTree = nullptr, FList = nullptr, FStatus = nullptr;
    std::unique_ptr<TRemoteMemory> FMemory;  // structures at the start, texts from TextOffset
};
