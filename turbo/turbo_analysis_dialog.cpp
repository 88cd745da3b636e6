#include "turbo_analysis_dialog.hpp"

#include "engine_cycle.hpp"
#include "wheel_and_converter.hpp"

TurboAnalysisDialog::TurboAnalysisDialog(QWidget* parent) : CDialog(132, parent) {
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
    DDX_Text(dx, 1014, m_AmbientTemp);
    DDX_Text(dx, 1011, m_CompTempRise);
    DDX_Text(dx, 1032, m_ConvCm);
    DDX_Text(dx, 1013, m_CompDischargeTemp);
    DDX_Text(dx, 1010, m_CompEfficiency);
    DDX_Text(dx, 1004, m_HubDiameter);
    DDX_Text(dx, 1033, m_ConvInches);
    DDX_Text(dx, 1003, m_InducerDiameter);
    DDX_Text(dx, 1019, m_NozzlePr);
    DDX_Text(dx, 1024, m_NozzleOutletDensity);
    DDX_Text(dx, 1006, m_MassFlowEstimate);
    DDX_Text(dx, 1002, m_MaxRpm);
    DDX_Text(dx, 1028, m_MassFlow);
    DDX_Text(dx, 1021, m_NozzleEfficiency);
    DDX_Text(dx, 1025, m_NozzleArea);
    DDX_Text(dx, 1026, m_NozzleDiameter);
    DDX_Text(dx, 1022, m_NozzleExitTemp);
    DDX_Text(dx, 1000, m_CompOutletDiameter);
    DDX_Text(dx, 1007, m_P2);
    DDX_Text(dx, 1030, m_AmbientPressure);
    DDX_Text(dx, 1018, m_TurbineEfficiency);
    DDX_Text(dx, 1027, m_Thrust);
    DDX_Text(dx, 1020, m_TurbineOutletTemp);
    DDX_Text(dx, 1017, m_TurbinePrRequired);
    DDX_Text(dx, 1015, m_TurbineTempDrop);
    DDX_Text(dx, 1023, m_NozzleVelocity);
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
