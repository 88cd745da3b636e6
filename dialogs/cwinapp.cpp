#include "cwinapp.hpp"

#include "cdialog.hpp"

#include <QApplication>

#include <memory>

namespace {
CWinApp* theApp = nullptr;
}

CWinApp::CWinApp() {
    theApp = this;
}

CWinApp::~CWinApp() {
    if (theApp == this)
        theApp = nullptr;
}

CWinApp* AfxGetApp() {
    return theApp;
}

void AfxEnableControlContainer() {}

void CWinApp::OnCmdMsg(int commandId) {
    if (const auto handler = commands_.find(commandId); handler != commands_.end()) {
        const auto run = handler->second;
        run();
    }
}

void CWinApp::OnHelp() {
    // The window that takes input is the one F1 was pressed in.
    if (auto* dialog = qobject_cast<CDialog*>(QApplication::activeModalWidget()))
        dialog->ShowHelp();
}

int AfxWinMain(int argc, char** argv) {
    std::unique_ptr<QApplication> owned;
    if (!QApplication::instance())
        owned = std::make_unique<QApplication>(argc, argv);
    CWinApp* app = AfxGetApp();
    if (!app || !app->InitInstance())
        return 0;
    return QApplication::exec();
}
