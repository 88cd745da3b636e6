#include "host_dialog.hpp"

#include "agreement_dialog.hpp"
#include "resources.hpp"

#include <QApplication>

HostDialog::HostDialog(QWidget* parent) : CDialog(102, parent), m_hIcon(dialogs::loadIcon(128)) {}

bool HostDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    // One window icon holds both the large (32) and the small (16) image. Set for the whole
    // application too, so that every window above this one carries it.
    setWindowIcon(m_hIcon);
    QApplication::setWindowIcon(m_hIcon);

    AgreementDialog agreement;
    agreement.DoModal();

    OnOK();
    return true;
}
