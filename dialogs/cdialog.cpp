#include "cdialog.hpp"

#include "cwinapp.hpp"
#include "data_exchange.hpp"
#include "resources.hpp"
#include "template_builder.hpp"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

CDialog::CDialog(int templateId, QWidget* parent) : QDialog(parent) {
    template_ = dialogs::parseDialogTemplate(
        dialogs::resourceText(QStringLiteral("dialogs"), templateId).toStdString());
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (template_.closeBox)
        flags |= Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint;
    setWindowFlags(flags);
    controls_ =
        dialogs::buildDialog(*this, template_, [this](int id) { SendCommand(id); }).controls;
}

CDialog::~CDialog() = default;

int CDialog::DoModal() {
    ended_ = false;
    endCode_ = 0;
    OnInitDialog();
    if (ended_) // ended inside its own initialisation, never shown
        return endCode_;
    running_ = true;
    const int code = exec();
    running_ = false;
    return ended_ ? endCode_ : code;
}

bool CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return true;
}

void CDialog::DoDataExchange(CDataExchange&) {}

bool CDialog::UpdateData(bool saveAndValidate) {
    return exchange(saveAndValidate, true);
}

bool CDialog::exchange(bool saveAndValidate, bool reportFailure) {
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(dx);
    if (!dx.failed())
        return true;
    if (reportFailure) {
        QString text;
        if (auto* box = qobject_cast<QLineEdit*>(GetDlgItem(dx.failedControl())))
            text = box->text();
        reportUnreadable(dx.failedControl(), text);
    }
    return false;
}

void CDialog::reportUnreadable(int controlId, const QString& text) {
    const QString label = controlLabel(controlId);
    const QString shown =
        text.trimmed().isEmpty()
            ? tr("The box is empty.")
            : tr("\"%1\" is not a number this program can use.")
                  .arg(text.size() > 40 ? text.left(40) + QStringLiteral("...") : text);
    QMessageBox::warning(this, windowTitle(),
                         tr("Please enter a number in the box \"%1\".\n%2\nNothing was calculated.")
                             .arg(label, shown));
    if (auto* box = qobject_cast<QLineEdit*>(GetDlgItem(controlId))) {
        box->setFocus(Qt::OtherFocusReason);
        box->selectAll();
    }
}

QString CDialog::controlLabel(int controlId) const {
    const dialogs::ControlSpec* previousLabel = nullptr;
    for (const auto& entry : template_.controls) {
        if (entry.id == controlId) {
            if (!entry.name.empty())
                return QString::fromStdString(entry.name);
            break;
        }
        if (entry.kind == dialogs::ControlKind::Label)
            previousLabel = &entry;
    }
    if (!previousLabel)
        return QString::number(controlId);
    QString label = QString::fromStdString(previousLabel->caption);
    label.remove(QLatin1Char('&'));
    return label.simplified();
}

QWidget* CDialog::GetDlgItem(int controlId) const {
    const auto found = controls_.find(controlId);
    return found == controls_.end() ? nullptr : found->second;
}

void CDialog::SendCommand(int commandId) {
    if (const auto handler = commands_.find(commandId); handler != commands_.end()) {
        // A copy: the handler may run a nested dialog during which this table is still in use.
        const auto run = handler->second;
        run();
        return;
    }
    if (commandId == IDOK)
        OnOK();
    else if (commandId == IDCANCEL)
        OnCancel();
    else if (CWinApp* app = AfxGetApp())
        app->OnCmdMsg(commandId);
}

void CDialog::OnOK() {
    exchange(TRUE, false);
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int result) {
    ended_ = true;
    endCode_ = result;
    if (running_)
        QDialog::done(result);
}

void CDialog::reject() {
    SendCommand(IDCANCEL);
}

void CDialog::accept() {
    SendCommand(IDOK);
}

void CDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        SendCommand(ID_HELP);
        return;
    }
    QDialog::keyPressEvent(event);
}
