#pragma once
// The application object: its start-up runs the host window, which runs the agreement, which runs
// the launcher; when that stack has unwound the program ends.

#include "cwinapp.hpp"

class DesignerApp : public CWinApp {
public:
    DesignerApp();

    // Runs the whole program as a stack of modal windows and returns false once it has closed,
    // so that no message loop follows.
    bool InitInstance() override;
};
