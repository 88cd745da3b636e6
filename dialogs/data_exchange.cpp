#include "data_exchange.hpp"

#include "edit_box.hpp"
#include "number_text.hpp"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

QWidget* CDataExchange::control(int controlId) const {
    return m_pDlgWnd->GetDlgItem(controlId);
}

void CDataExchange::rememberWritten(int controlId, const QString& text, float value) {
    m_pDlgWnd->written_[controlId] = {text, value};
}

std::optional<float> CDataExchange::writtenValue(int controlId, const QString& text) const {
    const auto& written = m_pDlgWnd->written_;
    const auto found = written.find(controlId);
    if (found == written.end() || found->second.text != text)
        return std::nullopt;
    return found->second.value;
}

void DDX_Text(CDataExchange& dx, int controlId, float& value) {
    if (dx.failed())
        return;
    auto* box = qobject_cast<dialogs::EditBox*>(dx.control(controlId));
    if (!box)
        return;
    if (!dx.m_bSaveAndValidate) {
        const QString text = QString::fromStdString(fields::formatFloat(value));
        box->showNumber(text);
        dx.rememberWritten(controlId, text, value);
        return;
    }
    // A shortened number stands for the whole text written, and reads back as it does.
    const QString text = box->numberText();
    if (!box->isModified()) {
        if (const auto written = dx.writtenValue(controlId, text)) {
            value = *written;
            return;
        }
    }
    if (const auto typed = fields::parseFloat(text.toStdString())) {
        value = *typed;
        return;
    }
    dx.fail(controlId);
}

void DDX_Text(CDataExchange& dx, int controlId, CString& value) {
    if (dx.failed())
        return;
    QWidget* control = dx.control(controlId);
    if (auto* box = qobject_cast<QLineEdit*>(control)) {
        if (dx.m_bSaveAndValidate) {
            value = box->text().toStdString();
        } else {
            box->setText(QString::fromStdString(value));
            box->setCursorPosition(0);
        }
    } else if (auto* area = qobject_cast<QPlainTextEdit*>(control)) {
        if (dx.m_bSaveAndValidate)
            value = area->toPlainText().toStdString();
        else
            area->setPlainText(QString::fromStdString(value));
    }
}

void DDX_CBIndex(CDataExchange& dx, int controlId, int& index) {
    if (dx.failed())
        return;
    auto* list = qobject_cast<QComboBox*>(dx.control(controlId));
    if (!list)
        return;
    if (dx.m_bSaveAndValidate)
        index = list->currentIndex();
    else
        list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

void DDX_Control(CDataExchange& dx, int controlId, CButton& button) {
    if (auto* push = qobject_cast<QPushButton*>(dx.control(controlId)))
        button.Attach(push);
}
