#include "turbo_analysis_dialog.hpp"

#include "engine_cycle.hpp"
#include "wheel_and_converter.hpp"

TurboAnalysisDialog::TurboAnalysisDialog(QWidget* parent)
    : CDialog(turbo::kTurboAnalysisTemplate, parent) {
    mapCommand(1001, &TurboAnalysisDialog::OnCalcMaxRpm);
    mapCommand(1005, &TurboAnalysisDialog::OnCalcMassFlow);
    mapCommand(1009, &TurboAnalysisDialog::OnCalcFullAnalysis);
    mapCommand(1031, &TurboAnalysisDialog::OnReset);
    mapCommand(1035, &TurboAnalysisDialog::OnConvert);
}

void TurboAnalysisDialog::DoDataExchange(CDataExchange& dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, 1001, m_CalcMaxRpmButton);
    DDX_Control(dx, 1005, m_CalcMassFlowButton);
    DDX_Control(dx, 1035, m_ConvertButton);
    DDX_Control(dx, 1009, m_CalcFullAnalysisButton);
    for (std::size_t i = 0; i < turbo::kTurboBindings.size(); ++i)
        DDX_Text(dx, turbo::kTurboControls[i], this->*turbo::kTurboBindings[i].member);
}

// Each calculation reads the whole form first. A box that cannot be read has been reported and
// focused by then, and nothing is calculated or written, so the typed text stays for mending.

void TurboAnalysisDialog::OnCalcMaxRpm() {
    if (!UpdateData(TRUE))
        return;
    turbo::calcMaxRpm(*this);
    UpdateData(FALSE);
}

void TurboAnalysisDialog::OnCalcMassFlow() {
    if (!UpdateData(TRUE))
        return;
    turbo::calcMassFlow(*this);
    UpdateData(FALSE);
}

void TurboAnalysisDialog::OnCalcFullAnalysis() {
    if (!UpdateData(TRUE))
        return;
    turbo::calcFullAnalysis(*this);
    UpdateData(FALSE);
}

void TurboAnalysisDialog::OnConvert() {
    if (!UpdateData(TRUE))
        return;
    turbo::convertLength(*this);
    UpdateData(FALSE);
}

// RESET overwrites every field, so nothing it could read would matter: it skips the read, and a
// box holding text that is not a number is simply reset instead of being reported.
void TurboAnalysisDialog::OnReset() {
    static_cast<turbo::TurboFields&>(*this) = turbo::TurboFields{};
    UpdateData(FALSE);
}
