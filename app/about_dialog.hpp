#pragma once
// The About box: the program's name, version, credits and contact.

#include "cdialog.hpp"

class AboutDialog : public CDialog {
    Q_OBJECT

public:
    explicit AboutDialog(QWidget* parent = nullptr);
};
