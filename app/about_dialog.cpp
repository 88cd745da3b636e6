#include "about_dialog.hpp"

AboutDialog::AboutDialog(QWidget* parent) : CDialog(100, parent) {}
