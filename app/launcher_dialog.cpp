#include "launcher_dialog.hpp"

#include "about_dialog.hpp"
#include "combustor_dialog.hpp"
#include "explorer_window.hpp"
#include "turbo_analysis_dialog.hpp"

LauncherDialog::LauncherDialog(QWidget* parent) : CDialog(130, parent) {
    mapCommand(1005, &LauncherDialog::OnOpenTurboAnalysis);
    mapCommand(132, &LauncherDialog::OnOpenTurboAnalysis);
    mapCommand(1002, &LauncherDialog::OnOpenCombustor);
    mapCommand(131, &LauncherDialog::OnOpenCombustor);
    mapCommand(133, &LauncherDialog::OnOpenExplorer);
    mapCommand(100, &LauncherDialog::OnAbout);
}

// Each tool window is a new object for every opening, so it always starts from its defaults.
void LauncherDialog::OnOpenTurboAnalysis() {
    TurboAnalysisDialog dialog(this);
    dialog.DoModal();
}

void LauncherDialog::OnOpenCombustor() {
    CombustorDialog dialog(this);
    dialog.DoModal();
}

// Everything the explorer needs (its chart among it) is set up here, when it opens, so the
// program's start does not wait for it.
void LauncherDialog::OnOpenExplorer() {
    ExplorerWindow explorer(this);
    explorer.DoModal();
}

void LauncherDialog::OnAbout() {
    AboutDialog about(this);
    about.DoModal();
}
