#pragma once
// A candidate beside its run log: each measured value against the model's, with their ratio and
// a chart of the errors against P2, and the candidate's assumptions fitted to the log (with their
// standard errors and correlations), offered as a calibrated copy.

#include "fit.hpp"

#include <QDialog>

#include <optional>
#include <vector>

class QChart;
class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;
class QString;
class QTableWidget;
class ExplorerWindow;

namespace explorer {

class CandidateTable;

class RunLogWindow : public QDialog {
    Q_OBJECT

public:
    // The candidate of `row`, which must hold a run log.
    RunLogWindow(CandidateTable* model, int row, QWidget* parent = nullptr);

    QTableWidget* table() const { return table_; }
    QCheckBox* fitChoice(runs::Assumption a) const { return choices_.at(a); }
    QPushButton* fitButton() const { return fit_; }
    QPushButton* copyButton() const { return copy_; }
    QLabel* fitText() const { return fitText_; }
    // The relative errors against P2, one series a measured quantity.
    QChart* residualChart() const { return chart_; }

    // Fits the ticked assumptions and shows the result; false (with the reason shown) when no fit
    // can be made.
    bool runFit();
    // Adds the calibrated copy after the candidate; returns its row.
    int addCalibratedCopy();

private:
    void fillTable();
    void fillChart(const std::vector<runs::Comparison>& comparisons);
    runs::ModelSetup setup() const;

    CandidateTable* model_;
    int row_;
    QTableWidget* table_ = nullptr;
    std::vector<QCheckBox*> choices_;
    QPushButton* fit_ = nullptr;
    QPushButton* copy_ = nullptr;
    QLabel* fitText_ = nullptr;
    QChart* chart_ = nullptr;
    std::optional<runs::FitResult> fitted_;
};

// For the design sheet: each candidate's measured values against the model's, with their ratio,
// as rich text; empty when no candidate has a run log.
QString measuredSheetHtml(const CandidateTable& model);

// The explorer's commands for run logs, put into its Edit menu: open a log for the current
// candidate, and show it beside the candidate.
void addRunLogActions(ExplorerWindow* window, QMenu* menu);
// Reads a log for the candidate of `row` (undoable); on failure says why and changes nothing.
bool openRunLog(ExplorerWindow* window, int row, const QString& path);

} // namespace explorer
