#pragma once
// The application object: built once before start-up, runs the program's start-up operation and
// takes the commands no open dialog handles (Help among them).

#include <functional>
#include <map>

class CDialog;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The start-up operation. Returning false ends the program without a message loop of its own.
    virtual bool InitInstance() { return true; }

    // Shows the help of the window that takes input (the dialog on top).
    virtual void OnHelp();

    // Runs the handler of a command from the application's command table, if it has one.
    void OnCmdMsg(int commandId);

    void Enable3dControls() {}

    CDialog* m_pMainWnd = nullptr;

protected:
    template <class App> void mapCommand(int commandId, void (App::*handler)()) {
        commands_[commandId] = [this, handler] { (static_cast<App*>(this)->*handler)(); };
    }

private:
    std::map<int, std::function<void()>> commands_;
};

// The single application object, or nullptr before it is built and after it is gone.
CWinApp* AfxGetApp();

void AfxEnableControlContainer();

// The program's entry: sets up the windowing system, runs the application's start-up and, if that
// reports success, a message loop. Returns the program's exit status.
int AfxWinMain(int argc, char** argv);
