#pragma once
// Binding of a dialog's fields to its controls, one call per control in binding order.

#include "cdialog.hpp"

#include <string>

class QPushButton;

using CString = std::string;

// A push button of a dialog, attached by DDX_Control; attaching changes nothing visible.
class CButton {
public:
    QPushButton* button() const { return button_; }
    void Attach(QPushButton* button) { button_ = button; }

private:
    QPushButton* button_ = nullptr;
};

class CDataExchange {
public:
    CDataExchange(CDialog* dialog, bool saveAndValidate)
        : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}

    CDialog* const m_pDlgWnd;
    const bool m_bSaveAndValidate;

    // Set when a read met a box it could not read; the rest of the exchange is skipped.
    bool failed() const { return failedControl_ != 0; }
    int failedControl() const { return failedControl_; }
    void fail(int controlId) { failedControl_ = controlId; }

    QWidget* control(int controlId) const;

    // Number boxes remember what the program wrote into them, so that an unchanged box reads
    // back the very float that was written, not the value of its six-digit text.
    void rememberWritten(int controlId, const QString& text, float value);
    std::optional<float> writtenValue(int controlId, const QString& text) const;

private:
    int failedControl_ = 0;
};

// A number box and a single-precision field: six significant digits shown; text that is not a
// number fails the read.
void DDX_Text(CDataExchange& dx, int controlId, float& value);
// A text box (one line or many) and a text field, unchanged.
void DDX_Text(CDataExchange& dx, int controlId, CString& value);
// A drop-down list and the 0-based index of its selected item, -1 for none.
void DDX_CBIndex(CDataExchange& dx, int controlId, int& index);
// Attaches a button object to a push button.
void DDX_Control(CDataExchange& dx, int controlId, CButton& button);
