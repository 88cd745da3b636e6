#include "cdialog.hpp"

#include "cwinapp.hpp"
#include "data_exchange.hpp"
#include "help_window.hpp"
#include "message_box.hpp"
#include "resources.hpp"
#include "template_builder.hpp"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolTip>

#include <algorithm>

CDialog::CDialog(int templateId, QWidget* parent) : QDialog(parent) {
    template_ = dialogs::parseDialogTemplate(
        dialogs::resourceText(QStringLiteral("dialogs"), templateId).toStdString());
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (template_.closeBox)
        flags |= Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint;
    setWindowFlags(flags);
    controls_ =
        dialogs::buildDialog(*this, template_, [this](int id) { SendCommand(id); }).controls;
    // Tooltips (the whole text of a shortened figure) are windows of their own; one font for all.
    QToolTip::setFont(dialogs::programFont());
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
    // Show where the focus is from the start, not only after the first Tab: a window that opens
    // with the focus in a list gives no other sign of where typing goes.
    setAttribute(Qt::WA_KeyboardFocusChange);
    for (const auto& entry : template_.controls) {
        if (!entry.initialFocus)
            continue;
        if (QWidget* control = GetDlgItem(entry.id)) {
            control->setFocus(Qt::OtherFocusReason);
            if (auto* box = qobject_cast<QLineEdit*>(control))
                box->selectAll();
        }
    }
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
    const QString box = controlLabel(controlId);
    const QString shown =
        text.trimmed().isEmpty()
            ? tr("The box \"%1\" is empty.").arg(box)
            : tr("The box \"%1\" holds \"%2\", which is not a number this program can use.")
                  .arg(box, text.size() > 40 ? text.left(40) + QStringLiteral("...") : text);
    const QString command = commandName(runningCommand_);
    const QString rule = tr("every box on this form must hold a number for any calculation to "
                            "run, even a box the calculation does not use.");
    const QString notDone = command.isEmpty() ? tr("Nothing was calculated: %1").arg(rule)
                                              : tr("%1 was not carried out: %2").arg(command, rule);
    dialogs::showMessage(this, windowTitle(), shown + QStringLiteral("\n\n") + notDone);
    if (auto* edit = qobject_cast<QLineEdit*>(GetDlgItem(controlId))) {
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
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
    label = label.simplified();
    if (label.endsWith(QLatin1Char(':')))
        label.chop(1);
    return label;
}

namespace {

bool isButton(const dialogs::ControlSpec& entry) {
    return entry.kind == dialogs::ControlKind::Button ||
           entry.kind == dialogs::ControlKind::DefButton;
}

bool contains(const dialogs::DialogRect& outer, const dialogs::DialogRect& inner) {
    return inner.x >= outer.x && inner.y >= outer.y &&
           inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}

QString withoutMnemonics(const std::string& text) {
    return QString::fromStdString(text).remove(QLatin1Char('&')).simplified();
}

} // namespace

QString CDialog::commandName(int commandId) const {
    const dialogs::ControlSpec* button = nullptr;
    for (const auto& entry : template_.controls)
        if (entry.id == commandId && isButton(entry))
            button = &entry;
    if (button) {
        const QString caption = withoutMnemonics(button->caption);
        const auto sameCaption =
            std::count_if(template_.controls.begin(), template_.controls.end(), [&](const auto& e) {
                return isButton(e) && withoutMnemonics(e.caption) == caption;
            });
        if (sameCaption > 1) {
            for (const auto& entry : template_.controls)
                if (entry.kind == dialogs::ControlKind::Group && !entry.caption.empty() &&
                    contains(entry.rect, button->rect))
                    return tr("\"%1\" in \"%2\"").arg(caption, withoutMnemonics(entry.caption));
        }
        return QLatin1Char('"') + caption + QLatin1Char('"');
    }
    if (template_.menuId != 0) {
        const auto menu = dialogs::parseMenuTemplate(
            dialogs::resourceText(QStringLiteral("menus"), template_.menuId).toStdString());
        for (const auto& popup : menu.popups)
            for (const auto& item : popup.items)
                if (!item.separator && item.id == commandId)
                    return QLatin1Char('"') + withoutMnemonics(item.text) + QLatin1Char('"');
    }
    return {};
}

void CDialog::ShowHelp() {
    dialogs::showHelp(this, template_.id);
}

QWidget* CDialog::GetDlgItem(int controlId) const {
    const auto found = controls_.find(controlId);
    return found == controls_.end() ? nullptr : found->second;
}

void CDialog::SendCommand(int commandId) {
    if (const auto handler = commands_.find(commandId); handler != commands_.end()) {
        // A copy: the handler may run a nested dialog during which this table is still in use.
        const auto run = handler->second;
        const int outer = runningCommand_;
        runningCommand_ = commandId;
        run();
        runningCommand_ = outer;
        return;
    }
    if (commandId == IDOK)
        OnOK();
    else if (commandId == IDCANCEL)
        OnCancel();
    else if (CWinApp* app = AfxGetApp())
        app->OnCmdMsg(commandId);
    else if (commandId == ID_HELP) // no application object to route it to
        ShowHelp();
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
