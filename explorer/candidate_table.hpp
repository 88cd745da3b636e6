#pragma once
// The candidates as the explorer's table shows them: one row per candidate, its name and inputs
// (editable), then its results and what its curves cannot show. Values are held in the forms'
// units by the candidates themselves; the table converts only what it shows and what is typed.
// Every change goes through the undo stack.

#include "candidate_maps.hpp"
#include "candidates.hpp"
#include "curve_chart.hpp"
#include "curves.hpp"

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
    // `note` names the columns of the file that were left out, if any.
    bool load(const QString& path, QString* problem, QString* note = nullptr);
    // Saving into another folder names the maps from there, so that they are still found.
    bool save(const QString& path, QString* problem);

    void setUnits(fields::UnitSystem units);
    fields::UnitSystem units() const { return units_; }

    const std::vector<Candidate>& candidateList() const { return candidates_; }
    // The row's colour and line style on the chart (see looks.hpp).
    int look(int row) const { return candidates_.at(static_cast<size_t>(row)).look; }
    // The folder the candidates' map files are named from: the open file's.
    const std::filesystem::path& folder() const { return folder_; }
    // A candidate's map (nullptr for none) and its figures at P2 (none without a readable map).
    const MapLibrary::Entry* mapOf(int row);
    const std::optional<compmap::MatchFigures>& matchOf(int row) const {
        return matches_.at(static_cast<std::size_t>(row));
    }
    // Reads every map file afresh.
    void reloadMaps();
    // A map file's map as its view holds it now: the figures follow every edit.
    void setMap(const std::filesystem::path& file, const compmap::CompressorMap& map);
    // What the line under the table says for a row: its unreadable cell, or where its curves
    // have no figure and why; empty when all is well.
    QString rowNote(int row) const;

    // Computes every candidate's curves and gives one panel per requested result, one line per
    // candidate that can be computed; keeps each row's "no figure" explanation for its note.
    std::vector<ChartPanel> curves(const CurveRequest& request, QString* problem);
    // The same points as CSV: name, then the cycle's inputs and results, in the forms' units, as
    // vorlaxen-calc cycle --sweep ... --csv writes them.
    QByteArray curveCsv(const CurveRequest& request) const;

signals:
    // Inputs, order or units changed: the chart must be drawn again.
    void candidatesChanged();

private:
    QVariant mapData(std::size_t row, int role) const;
    QVariant matchData(std::size_t row, int which, int role) const;
    QVariant efficiencyFromMapData(std::size_t row, int role) const;
    // The candidate's figures at P2, with the efficiency from its map when it asks for it;
    // the reason in `why` when there are none for that reason.
    std::optional<point::Point> evaluateRow(std::size_t row, QString& why);
    // The maps whose efficiency each candidate's cycle takes (nullptr: the typed one).
    std::vector<const compmap::CompressorMap*> efficiencyMaps() const;
    struct State {
        std::vector<Candidate> candidates;
    };
    class Change;

    void push(const QString& what, State after);
    void apply(const State& state);
    State state() const { return {candidates_}; }
    static int freeLook(const std::vector<Candidate>& candidates);
    static void giveLooks(std::vector<Candidate>& candidates);
    std::string freeName() const;
    const fields::Field* fieldAt(int column) const;
    std::optional<QPointF> ownPoint(std::size_t candidate, const CurveRequest& request,
                                    std::size_t result) const;

    QUndoStack* undo_;
    std::vector<Candidate> candidates_;
    // Derived from the candidates, never saved or undone.
    std::vector<std::optional<point::Point>> results_;
    std::vector<QString> gaps_;
    std::vector<QString> ownGaps_;                      // at P2, leading the row's note
    std::vector<std::optional<float>> mapEfficiencies_; // used at P2, when from the map
    std::vector<std::optional<compmap::MatchFigures>> matches_;
    std::filesystem::path folder_;
    mutable MapLibrary maps_;
    Curves curves_; // reused from one drawing to the next
    fields::UnitSystem units_ = fields::UnitSystem::Forms;
};

} // namespace explorer
