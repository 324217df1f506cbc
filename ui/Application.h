#pragma once
// TApplication: the program's message loop, its title (held by a hidden window of class
// "TApplication") and its main form. The application owns the forms made with CreateForm and frees
// them, last made first. The program ends it explicitly before main returns:
//
//     Application().Destroying();       // every form's background work ends while all forms are whole
//     Application().FreeComponents();   // then the forms go
//     ...                               // process-wide objects the forms used
//     Application().Finalize();
//
// The destructor only frees what is left; being a function-local static it runs in an order nobody
// chooses, after objects the forms may still need.
#include "ui/Component.h"
#include "ui/Handles.h"

#include <exception>
#include <functional>
#include <string>

class TCustomForm;

using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;

class TApplication : public TComponent {
public:
    CLARIVO_CLASS

    explicit TApplication(TComponent* owner);
    ~TApplication() override;

    // Common controls and COM for this thread.
    void Initialize();
    // Frees every component the application owns, the last made first; a form goes the way
    // TCustomForm::Free frees it.
    void FreeComponents();
    // Closes the hidden window and leaves COM: the last of the application, once its forms are gone.
    void Finalize();

    // Makes a form owned by the application; the first one made becomes the main form.
    template <typename T>
    void CreateForm(T*& reference) {
        reference = nullptr;
        T* form = new T(this);
        reference = form;
        if (!FMainForm) FMainForm = form;
    }

    TCustomForm* MainForm() const { return FMainForm; }
    void SetMainForm(TCustomForm* form) { FMainForm = form; }

    std::wstring Title() const;
    void SetTitle(const std::wstring& title);
    // The hidden application window.
    HWND Handle() const { return FHandle.get(); }

    // Shows the main form and handles messages until Terminate (or the main form closes).
    void Run();
    // Handles every message waiting now, then returns.
    void ProcessMessages();
    // Waits for one message and handles it.
    void HandleMessage();
    void Terminate();
    bool Terminated() const { return FTerminated; }

    // An exception stopped at a window procedure, timer or other entry from the system (where it must
    // not unwind further): OnException hears of it, or, when that is not assigned, a message box with
    // its text (an exception of unknown type is reported as such).
    void HandleException(std::exception_ptr error) noexcept;
    TExceptionEvent OnException;

    // Dispatches one message the framework's way: accelerator characters (CM_DIALOGCHAR) and dialog
    // keys of the form the message is for, then the window. Returns false on WM_QUIT.
    bool ProcessMessage(MSG& msg);

private:
    UniqueWindow FHandle;
    TCustomForm* FMainForm = nullptr;
    bool FTerminated = false;
    int FOleInitialized = 0;  // successful OleInitialize calls, each undone by Finalize
};

// The process's application object.
TApplication& Application();
