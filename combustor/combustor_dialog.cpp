#include "combustor_dialog.hpp"

#include "flame_tube.hpp"
#include "unit_presets.hpp"

CombustorDialog::CombustorDialog(QWidget* parent) : CDialog(IDD, parent) {
    mapCommand(IDC_ENTER_UNITS, &CombustorDialog::OnEnterUnits);
    mapCommand(IDC_CALC_FLAME_TUBE, &CombustorDialog::OnCalcFlameTube);
    // "Exit" (1) is the framework's OK: read the form and close.
}

void CombustorDialog::DoDataExchange(CDataExchange& dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_CALC_FLAME_TUBE, m_CalcFlameTubeButton);
    for (std::size_t i = 0; i < combustor::kCombustorBindings.size(); ++i) {
        const auto& b = combustor::kCombustorBindings[i];
        const int box = combustor::kCombustorControls[i];
        if (b.number)
            DDX_Text(dx, box, this->*b.number);
        else if (b.index)
            DDX_CBIndex(dx, box, this->*b.index);
        else
            DDX_Text(dx, box, this->*b.text);
    }
}

// A box that cannot be read has been reported and focused by the framework; nothing is changed.

void CombustorDialog::OnEnterUnits() {
    if (!UpdateData(TRUE))
        return;
    combustor::applyUnitPreset(*this);
    UpdateData(FALSE);
}

void CombustorDialog::OnCalcFlameTube() {
    if (!UpdateData(TRUE))
        return;
    combustor::calcFlameTube(*this);
    UpdateData(FALSE);
}
