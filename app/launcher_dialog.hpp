#pragma once
// The launcher: opens the two tools, the Design Explorer and the About box; closing it ends the
// program.

#include "cdialog.hpp"

class LauncherDialog : public CDialog {
    Q_OBJECT

public:
    explicit LauncherDialog(QWidget* parent = nullptr);

private:
    void OnOpenTurboAnalysis();
    void OnOpenCombustor();
    void OnOpenExplorer();
    void OnAbout();
};
