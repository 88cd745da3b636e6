#include "combustor_dialog.hpp"

#include "flame_tube.hpp"
#include "unit_presets.hpp"

CombustorDialog::CombustorDialog(QWidget* parent) : CDialog(IDD, parent) {
    mapCommand(1020, &CombustorDialog::OnEnterUnits);
    mapCommand(1003, &CombustorDialog::OnCalcFlameTube);
    // "Exit" (1) is the framework's OK: read the form and close.
}

void CombustorDialog::DoDataExchange(CDataExchange& dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, 1003, m_CalcFlameTubeButton);
    DDX_Text(dx, 1004, m_InducerArea);
    DDX_Text(dx, 1007, m_TubeDiameter);
    DDX_Text(dx, 1006, m_TubeLength);
    DDX_Text(dx, 1008, m_PrimaryHoleArea);
    DDX_Text(dx, 1014, m_PrimaryDrill);
    DDX_Text(dx, 1011, m_PrimaryHoles);
    DDX_Text(dx, 1002, m_InducerRadius);
    DDX_Text(dx, 1009, m_SecondaryHoleArea);
    DDX_Text(dx, 1015, m_SecondaryDrill);
    DDX_Text(dx, 1012, m_SecondaryHoles);
    DDX_CBIndex(dx, 1018, m_UnitIndex);
    DDX_Text(dx, 1010, m_TertiaryHoleArea);
    DDX_Text(dx, 1016, m_TertiaryDrill);
    DDX_Text(dx, 1013, m_TertiaryHoles);
    DDX_Text(dx, 1001, m_InducerDiameter);
    DDX_Text(dx, 1019, m_UnitName);
    DDX_Text(dx, 1022, m_PrimaryExample);
    DDX_Text(dx, 1023, m_SecondaryExample);
    DDX_Text(dx, 1024, m_TertiaryExample);
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
