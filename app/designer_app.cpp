#include "designer_app.hpp"

#include "cdialog.hpp"
#include "host_dialog.hpp"
#include "version_record.hpp"

#include <QApplication>

DesignerApp::DesignerApp() {
    mapCommand(ID_HELP, &DesignerApp::OnHelp);
}

bool DesignerApp::InitInstance() {
    AfxEnableControlContainer();
    Enable3dControls();

    // Qt's own record of who we are. The display name is left unset: on some platforms Qt would
    // append it to every window title, and the titles are the program's own.
    QCoreApplication::setApplicationName(QString::fromUtf8(version_record::kProductName));
    QCoreApplication::setApplicationVersion(QString::fromUtf8(version_record::kVersion));
    QGuiApplication::setDesktopFileName(QStringLiteral(VX_APP_ID));

    HostDialog host;
    m_pMainWnd = &host;
    host.DoModal();
    m_pMainWnd = nullptr;
    return false;
}
