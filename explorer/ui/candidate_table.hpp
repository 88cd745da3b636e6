#pragma once
// The candidates as the explorer's table shows them: one row per candidate, its name and inputs
// (editable), then its results and what its curves cannot show. A view of the workspace, which
// holds the candidates, their figures, maps and files; values are in the forms' units there, and
// the table converts only what it shows and what is typed. Every change goes through the undo
// stack as the few candidates it replaces.

#include "workspace.hpp"

#include <QAbstractTableModel>

#include <optional>
#include <vector>

class QTableView;
class QUndoStack;

namespace explorer {

class CandidateTable : public QAbstractTableModel {
    Q_OBJECT

public:
    CandidateTable(QUndoStack* undo, QObject* parent = nullptr);
    ~CandidateTable() override;

    // A field's name for headings, axes and messages: its form label without the colon and
    // without a unit written into it ("P2", "Compressor Outlet Diameter").
    static QString fieldName(const fields::Field& field);
    // "P2 (psig)", "Thrust (N)": a field's name and its unit in the given system.
    static QString titleWithUnit(const fields::Field& field, fields::UnitSystem units);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // The column of a key of the candidate file or of a result, or -1.
    int column(std::string_view key) const;
    // Puts the mass-flow source list into its column's cells.
    void attachEditors(QTableView* view);

    // Undoable edits; each returns the row it leaves selected.
    int addCandidate();
    int duplicateCandidate(int row);
    void deleteCandidate(int row);
    void deleteCandidates(std::vector<int> rows); // one step to undo
    void moveCandidate(int from, int to);
    int insertCandidate(int at, Candidate candidate);
    // A candidate's measured run (null to drop it); its markers join the chart.
    void setRunLog(int row, std::shared_ptr<const runs::RunLog> log);

    // Back to the two starting candidates (File > New clears the history itself).
    void reset();
    // Replace every candidate by a file's; on failure nothing changes and `problem` says why.
    // `note` names the columns of the file that were left out and the run logs not read, if any.
    bool load(const QString& path, QString* problem, QString* note = nullptr);
    // Saving into another folder names the maps from there, so that they are still found.
    bool save(const QString& path, QString* problem);

    void setUnits(fields::UnitSystem units);
    fields::UnitSystem units() const { return units_; }
    // The sweep and results the curves and the "No Figure" column follow.
    void setRequest(const CurveRequest& request);

    const Workspace& workspace() const { return work_; }
    const std::vector<Candidate>& candidateList() const { return work_.candidates(); }
    // The row's colour and line style on the chart (see looks.hpp).
    int look(int row) const { return work_.candidate(static_cast<std::size_t>(row)).look; }
    // The folder the candidates' map files are named from: the open file's.
    const std::filesystem::path& folder() const { return work_.folder(); }
    // A candidate's map (nullptr for none) and its figures at P2 (none without a readable map).
    const MapLibrary::Entry* mapOf(int row) const {
        return work_.mapOf(static_cast<std::size_t>(row));
    }
    const std::optional<compmap::MatchFigures>& matchOf(int row) const {
        return work_.point(static_cast<std::size_t>(row)).match;
    }
    // Reads every map file afresh.
    void reloadMaps();
    // A map file's map as its view holds it now: the figures follow every edit.
    void setMap(const std::filesystem::path& file, const compmap::CompressorMap& map);
    // What the line under the table says for a row: its unreadable cell, or where its curves
    // have no figure and why; empty when all is well.
    QString rowNote(int row) const;

    // The curves' points as CSV: name, then the cycle's inputs and results, in the forms' units, as
    // vorlaxen-calc cycle --sweep ... --csv writes them.
    QByteArray curveCsv() const;

signals:
    // Inputs, order or units changed: the chart must be drawn again.
    void candidatesChanged();

private:
    QVariant mapData(std::size_t row, int role) const;
    QVariant matchData(std::size_t row, int which, int role) const;
    QVariant efficiencyFromMapData(std::size_t row, int role) const;
    class Change;
    // One step of a change: `removed` candidates from `at` replaced by `inserted`.
    struct Splice {
        std::size_t at = 0;
        std::vector<Candidate> removed;
        std::vector<Candidate> inserted;
    };

    void push(const QString& what, std::vector<Splice> steps);
    // Replaces one candidate by its edited copy, as one step to undo.
    void pushEdit(const QString& what, std::size_t row, Candidate edited);
    // Splices into the workspace and tells the views; returns the candidates taken out.
    std::vector<Candidate> apply(std::size_t at, std::size_t removed,
                                 std::vector<Candidate> inserted);
    // Every row's figures changed (maps, folder): the views are told.
    void allChanged();
    const fields::Field* fieldAt(int column) const;

    QUndoStack* undo_;
    Workspace work_;
    fields::UnitSystem units_ = fields::UnitSystem::Forms;
};

} // namespace explorer
