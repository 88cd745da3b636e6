#include "turbo_analysis_dialog.hpp"

#include "engine_cycle.hpp"
#include "wheel_and_converter.hpp"

TurboAnalysisDialog::TurboAnalysisDialog(QWidget* parent) : CDialog(IDD, parent) {
    mapCommand(IDC_CALC_MAX_RPM, &TurboAnalysisDialog::OnCalcMaxRpm);
    mapCommand(IDC_CALC_MASS_FLOW, &TurboAnalysisDialog::OnCalcMassFlow);
    mapCommand(IDC_CALC_FULL_ANALYSIS, &TurboAnalysisDialog::OnCalcFullAnalysis);
    mapCommand(IDC_RESET, &TurboAnalysisDialog::OnReset);
    mapCommand(IDC_CONVERT, &TurboAnalysisDialog::OnConvert);
}

void TurboAnalysisDialog::DoDataExchange(CDataExchange& dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_CALC_MAX_RPM, m_CalcMaxRpmButton);
    DDX_Control(dx, IDC_CALC_MASS_FLOW, m_CalcMassFlowButton);
    DDX_Control(dx, IDC_CONVERT, m_ConvertButton);
    DDX_Control(dx, IDC_CALC_FULL_ANALYSIS, m_CalcFullAnalysisButton);
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
