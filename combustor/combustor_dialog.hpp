#pragma once
// The Combustor and Flame Tube window: pick a unit system, take its standard drill sizes with
// "Enter", type the inducer diameter and size the flame tube and its air holes.

#include "cdialog.hpp"
#include "combustor_fields.hpp"
#include "data_exchange.hpp"

class CombustorDialog : public CDialog, public combustor::CombustorFields {
public:
    enum {
        IDD = combustor::kCombustorTemplate,
        IDC_CALC_FLAME_TUBE = 1003,
        IDC_ENTER_UNITS = 1020
    };

    explicit CombustorDialog(QWidget* parent = nullptr);

    // "Enter" beside the unit list: the selected unit's name, drill sizes and examples.
    void OnEnterUnits();
    // "Calculate Flame Tube", also Enter in a box (the default push button).
    void OnCalcFlameTube();

    CButton m_CalcFlameTubeButton;

protected:
    void DoDataExchange(CDataExchange& dx) override;
};
