#pragma once
// The Design Explorer: candidate engines side by side in a table, their curves against a swept
// input on a chart, in the forms' units or metric, kept in files. A new window every time the
// launcher opens it; the launcher waits beneath.

#include "cdialog.hpp"
#include "curves.hpp"
#include "user_file.hpp"

#include <QStringList>

class QAction;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPainter;
class QTabWidget;
class QTableView;
class QUndoStack;

namespace flametube {
class CombustorView;
}

namespace explorer {
class CandidateTable;
class CurveChart;
class DesignSheet;
class MapPanel;
} // namespace explorer

class ExplorerWindow : public CDialog {
    Q_OBJECT

public:
    explicit ExplorerWindow(QWidget* parent = nullptr);
    ~ExplorerWindow() override;

    // Reads a candidate file; on failure says why (file, line, column) and keeps the open work.
    bool openFile(const QString& path);
    // Saves the candidates to `path` in one step; the window then names that file.
    bool saveTo(const QString& path);

    // The window's parts, for export and for tests that drive it as a user would.
    QTableView* table() const { return table_; }
    explorer::CandidateTable* candidates() const { return model_; }
    explorer::CurveChart* chart() const { return chart_; }
    // The views of the candidates beside the table: the curves first; more may be added as tabs.
    QTabWidget* views() const { return views_; }
    explorer::MapPanel* maps() const { return maps_; }
    flametube::CombustorView* combustor() const { return combustor_; }
    QComboBox* unitsBox() const { return units_; }
    QComboBox* sweptInputBox() const { return sweptInput_; }
    QLineEdit* sweepFromBox() const { return sweepFrom_; }
    QLineEdit* sweepToBox() const { return sweepTo_; }
    QLineEdit* sweepStepBox() const { return sweepStep_; }
    QListWidget* resultsList() const { return results_; }
    QLabel* messageLine() const { return message_; }
    QUndoStack* undoStack() const { return undo_; }
    QAction* action(const QString& objectName) const;
    QString currentFile() const { return file_; }

    // Exports; each returns false (after telling the user) when the file cannot be written.
    bool exportChartImage(const QString& path); // PNG
    bool exportChartSvg(const QString& path);
    bool exportCurveCsv(const QString& path);
    bool exportDesignSheet(const QString& path); // PDF
    // The design sheet on a page of `size` points, as the PDF holds it.
    void paintDesignSheet(QPainter& painter, const QSizeF& size);

    // The design sheet as its PDF export writes it, the heading naming `fileName`; empty when it
    // cannot be made.
    QByteArray designSheetPdf(const QString& fileName) const;
    // Off, the units, sweep and plotted results set here are not remembered for the next window.
    void setRemembering(bool on) { remembering_ = on; }

    // Recomputes the curves of every plotted result and redraws the chart.
    void refreshChart();

protected:
    bool OnInitDialog() override;
    void OnOK() override;     // Enter edits cells here; it never closes the window
    void OnCancel() override; // Escape and the close box: asks first when there is unsaved work

private:
    enum ExportKind { ExportPng, ExportSvg, ExportCsv, ExportPdf };

    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    void OnExport(int kind);

    void buildMenus(QMenu* file, QMenu* edit);
    QWidget* buildCandidatesSide(QHBoxLayout* buttons);
    QWidget* buildChartSide();
    explorer::DesignSheet designSheet(const QString& fileName) const;
    QString fileName() const; // the open file's name without its folder; empty for new work
    void restoreSettings();
    void placeWindow();
    void saveSweepSettings() const;
    void rememberRecent(const QString& path);
    void fillRecentMenu();

    QString askCandidatePath(const QString& caption);
    bool maySetAside(); // asks about unsaved changes; false when the user cancels
    void updateTitle();
    void showRowNote();
    void unitsChanged();
    void sweptInputChanged();
    void sweepTextEdited();
    void setSweep(double from, double to, double step);
    void setRoundedSweep(double from, double to, double step);
    void defaultSweep();
    explorer::EngineInput sweptInput() const;
    std::vector<explorer::EngineResult> plottedResults() const;
    explorer::CurveRequest curveRequest() const;
    fields::UnitSystem units() const;

    explorer::CandidateTable* model_ = nullptr;
    QTableView* table_ = nullptr;
    explorer::CurveChart* chart_ = nullptr;
    QTabWidget* views_ = nullptr;
    explorer::MapPanel* maps_ = nullptr;
    flametube::CombustorView* combustor_ = nullptr;
    QComboBox* units_ = nullptr;
    QComboBox* sweptInput_ = nullptr;
    QLineEdit* sweepFrom_ = nullptr;
    QLineEdit* sweepTo_ = nullptr;
    QLineEdit* sweepStep_ = nullptr;
    QListWidget* results_ = nullptr;
    QLabel* message_ = nullptr;
    QLabel* hover_ = nullptr;
    QUndoStack* undo_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QString file_;
    QString sweepProblem_;      // why the sweep gives no curve; empty when it gives one
    bool remembering_ = true;   // the units, sweep and plotted results kept for the next window
    userfile::Stamp fileStamp_; // the file as it was opened or saved here
    // The sweep as its boxes show it, in the display units of the swept input.
    struct {
        double from = 0.0, to = 0.0, step = 1.0;
    } sweep_;
};
