#pragma once
// The Turbo Analysis window: the compressor's maximum speed, the mass flow through the inducer,
// a full steady-state cycle of a turbocharger jet engine, and a centimetre/inch converter.
// Every opening starts from the defaults; nothing is kept when it closes.

#include "data_exchange.hpp"
#include "turbo_fields.hpp"

class TurboAnalysisDialog : public CDialog, public turbo::TurboFields {
    Q_OBJECT

public:
    enum {
        IDD = turbo::kTurboAnalysisTemplate,
        IDC_CALC_MAX_RPM = 1001,
        IDC_CALC_MASS_FLOW = 1005,
        IDC_CALC_FULL_ANALYSIS = 1009,
        IDC_RESET = 1031,
        IDC_CONVERT = 1035,
    };

    explicit TurboAnalysisDialog(QWidget* parent = nullptr);

    // The buttons the exchange attaches; they change nothing visible.
    CButton m_CalcMaxRpmButton;
    CButton m_CalcMassFlowButton;
    CButton m_ConvertButton;
    CButton m_CalcFullAnalysisButton;

    void OnCalcMaxRpm();
    void OnCalcMassFlow();
    void OnCalcFullAnalysis();
    void OnReset();
    void OnConvert();

protected:
    void DoDataExchange(CDataExchange& dx) override;
};
