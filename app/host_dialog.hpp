#pragma once
// The main window. It is never seen: its initialisation runs the agreement and then ends it.

#include "cdialog.hpp"

#include <QIcon>

class HostDialog : public CDialog {
    Q_OBJECT

public:
    explicit HostDialog(QWidget* parent = nullptr);

protected:
    bool OnInitDialog() override;

private:
    QIcon m_hIcon;
};
