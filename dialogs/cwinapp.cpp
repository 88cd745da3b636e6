#include "cwinapp.hpp"

#include "resources.hpp"

#include <QApplication>
#include <QMessageBox>

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
    QWidget* parent = QApplication::activeModalWidget();
    QMessageBox::information(parent, QApplication::applicationDisplayName() + QObject::tr(" Help"),
                             dialogs::namedText(QStringLiteral("help.txt")));
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
