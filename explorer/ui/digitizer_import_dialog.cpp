#include "digitizer_import_dialog.hpp"

#include "number_text.hpp"
#include "qt_text.hpp"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

#include <cmath>

namespace explorer {

DigitizerImportDialog::DigitizerImportDialog(const QString& fileName, QWidget* parent)
    : QDialog(parent), unit_(new QComboBox(this)), temperature_(new QLineEdit(this)),
      pressure_(new QLineEdit(this)), problem_(new QLabel(this)) {
    setWindowTitle(tr("Digitizer's map"));
    const compmap::ImportSettings defaults;
    for (const auto unit : {compmap::FlowUnit::LbPerMin, compmap::FlowUnit::KgPerS})
        unit_->addItem(toQString(compmap::flowUnitText(unit)));
    unit_->setCurrentText(toQString(compmap::flowUnitText(defaults.flowUnit)));
    temperature_->setText(toQString(compmap::numberText(defaults.referenceTemperature)));
    pressure_->setText(toQString(compmap::numberText(defaults.referencePressure)));
    problem_->setStyleSheet(QStringLiteral("color: #a00000"));

    auto* form = new QFormLayout(this);
    form->addRow(new QLabel(tr("%1 does not say its flow unit or the conditions its corrected "
                               "flow is referred to. The maker's sheet does.")
                                .arg(fileName.toHtmlEscaped()),
                            this));
    form->addRow(tr("Flow unit:"), unit_);
    form->addRow(tr("Reference temperature (K):"), temperature_);
    form->addRow(tr("Reference pressure (psi absolute):"), pressure_);
    form->addRow(problem_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &DigitizerImportDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

std::optional<compmap::ImportSettings> DigitizerImportDialog::settings() const {
    compmap::ImportSettings s;
    s.flowUnit = compmap::flowUnitFromText(unit_->currentText().toStdString())
                     .value_or(compmap::FlowUnit::LbPerMin);
    const auto positive = [](const QLineEdit* box) -> std::optional<float> {
        const auto value = fields::parseFloat(box->text().toStdString());
        if (!value || !(*value > 0) || !std::isfinite(*value))
            return std::nullopt;
        return value;
    };
    const auto temperature = positive(temperature_);
    const auto pressure = positive(pressure_);
    if (!temperature || !pressure)
        return std::nullopt;
    s.referenceTemperature = *temperature;
    s.referencePressure = *pressure;
    return s;
}

void DigitizerImportDialog::accept() {
    if (!settings()) {
        problem_->setText(tr("The reference temperature and pressure must be numbers above zero."));
        return;
    }
    QDialog::accept();
}

} // namespace explorer
