#pragma once
// What a digitizer's CSV export does not say, asked when one is opened: its flow unit and the
// reference temperature and pressure of its corrected flow, with the command line's defaults.

#include "map_file.hpp"

#include <QDialog>

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;

namespace explorer {

class DigitizerImportDialog : public QDialog {
    Q_OBJECT

public:
    explicit DigitizerImportDialog(const QString& fileName, QWidget* parent = nullptr);

    // The settings typed; nullopt (and the reason shown) while a box holds no number above zero.
    std::optional<compmap::ImportSettings> settings() const;
    void accept() override;

    QComboBox* unitBox() const { return unit_; }
    QLineEdit* temperatureBox() const { return temperature_; }
    QLineEdit* pressureBox() const { return pressure_; }

private:
    QComboBox* unit_;
    QLineEdit* temperature_;
    QLineEdit* pressure_;
    QLabel* problem_;
};

} // namespace explorer
