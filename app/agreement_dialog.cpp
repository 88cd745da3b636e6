#include "agreement_dialog.hpp"

#include "launcher_dialog.hpp"
#include "resources.hpp"

AgreementDialog::AgreementDialog(QWidget* parent) : CDialog(129, parent) {
    // The text file may end with a line break; the agreement is one paragraph without one.
    m_AgreementText = dialogs::namedText(QStringLiteral("agreement.txt")).trimmed().toStdString();
    mapCommand(1003, &AgreementDialog::OnAgree);
}

void AgreementDialog::DoDataExchange(CDataExchange& dx) {
    DDX_Text(dx, 1007, m_AgreementText);
}

void AgreementDialog::OnAgree() {
    // The agreement stays beneath the launcher, blocked, until the launcher closes.
    LauncherDialog launcher(this);
    launcher.DoModal();
    OnOK();
}
