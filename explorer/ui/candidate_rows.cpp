// The row commands of the candidates' table (add, duplicate, delete, move), each one undoable
// step, and the look and name a new row is given.

#include "candidate_columns.hpp"
#include "candidate_table.hpp"
#include "qt_text.hpp"

#include <algorithm>
#include <filesystem>

namespace explorer {

using namespace table;

int CandidateTable::addCandidate() {
    Candidate added(work_.freeName());
    // A new candidate's mass flow comes from its wheel until the user types one.
    added.massFlowSource = MassFlowSource::Estimate;
    added.look = work_.freeLook();
    push(tr("Add Candidate"), {{work_.size(), {}, {std::move(added)}}});
    return rowCount() - 1;
}

int CandidateTable::duplicateCandidate(int at) {
    Candidate copy = work_.candidate(static_cast<std::size_t>(at));
    copy.name = tr("%1 (copy)").arg(toQString(copy.name)).toStdString();
    copy.look = work_.freeLook();
    push(tr("Duplicate Candidate"), {{static_cast<std::size_t>(at) + 1, {}, {std::move(copy)}}});
    return at + 1;
}

int CandidateTable::insertCandidate(int at, Candidate candidate) {
    candidate.look = work_.freeLook();
    push(tr("Add Candidate"), {{static_cast<std::size_t>(at), {}, {std::move(candidate)}}});
    return at;
}

void CandidateTable::setRunLog(int row, std::shared_ptr<const runs::RunLog> log) {
    Candidate edited = work_.candidate(static_cast<std::size_t>(row));
    edited.runLogFile =
        log ? std::filesystem::absolute(log->file).lexically_normal().generic_string() : "";
    edited.runLog = std::move(log);
    pushEdit(tr("Open Run Log"), static_cast<std::size_t>(row), std::move(edited));
}

void CandidateTable::deleteCandidate(int at) {
    deleteCandidates({at});
}

void CandidateTable::deleteCandidates(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::erase_if(rows, [this](int row) { return row < 0 || row >= rowCount(); });
    if (rows.empty())
        return;
    // From the last, so that each step's row is where it was.
    std::vector<Splice> steps;
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        steps.push_back(
            {static_cast<std::size_t>(*it), {work_.candidate(static_cast<std::size_t>(*it))}, {}});
    push(rows.size() == 1 ? tr("Delete Candidate") : tr("Delete Candidates"), std::move(steps));
}

void CandidateTable::moveCandidate(int from, int to) {
    const auto first = static_cast<std::size_t>(std::min(from, to));
    const auto last = static_cast<std::size_t>(std::max(from, to));
    std::vector<Candidate> before, after;
    for (std::size_t i = first; i <= last; ++i)
        before.push_back(work_.candidate(i));
    after = before;
    std::swap(after.front(), after.back());
    push(tr("Move Candidate"), {{first, std::move(before), std::move(after)}});
}

void CandidateTable::reset() {
    beginResetModel();
    work_.assign(startingCandidates(), {});
    endResetModel();
    emit candidatesChanged();
}

} // namespace explorer
