#pragma once
// The safety notice and user agreement: "I Agree" runs the launcher, "I Disagree" ends the program.

#include "cdialog.hpp"
#include "data_exchange.hpp"

class AgreementDialog : public CDialog {
    Q_OBJECT

public:
    explicit AgreementDialog(QWidget* parent = nullptr);

    CString m_AgreementText;

protected:
    void DoDataExchange(CDataExchange& dx) override;

private:
    void OnAgree();
};
