// The row commands of the candidates' table (add, duplicate, delete, move), each one undoable
// step, and the look and name a new row is given.

#include "candidate_columns.hpp"
#include "candidate_table.hpp"
#include "qt_text.hpp"

#include <algorithm>
#include <filesystem>

namespace explorer {

using namespace table;

int CandidateTable::freeLook(const std::vector<Candidate>& candidates) {
    std::vector<int> uses(kLookCount, 0);
    for (const Candidate& c : candidates)
        if (c.look >= 0 && c.look < kLookCount)
            ++uses[static_cast<std::size_t>(c.look)];
    // The first unused look; past twenty, the least used.
    return static_cast<int>(std::min_element(uses.begin(), uses.end()) - uses.begin());
}

void CandidateTable::giveLooks(std::vector<Candidate>& candidates) {
    for (Candidate& c : candidates)
        if (c.look < 0 || c.look >= kLookCount)
            c.look = freeLook(candidates);
}

std::string CandidateTable::freeName() const {
    for (int n = 1;; ++n) {
        const std::string name = tr("Candidate %1").arg(n).toStdString();
        if (std::none_of(candidates_.begin(), candidates_.end(),
                         [&](const Candidate& c) { return c.name == name; }))
            return name;
    }
}

int CandidateTable::addCandidate() {
    State after = state();
    Candidate added(freeName());
    // A new candidate's mass flow comes from its wheel until the user types one.
    added.massFlowSource = MassFlowSource::Estimate;
    added.look = freeLook(after.candidates);
    after.candidates.push_back(std::move(added));
    push(tr("Add Candidate"), std::move(after));
    return rowCount() - 1;
}

int CandidateTable::duplicateCandidate(int at) {
    State after = state();
    Candidate copy = candidates_.at(static_cast<std::size_t>(at));
    copy.name = tr("%1 (copy)").arg(toQString(copy.name)).toStdString();
    copy.look = freeLook(after.candidates);
    after.candidates.insert(after.candidates.begin() + at + 1, std::move(copy));
    push(tr("Duplicate Candidate"), std::move(after));
    return at + 1;
}

int CandidateTable::insertCandidate(int at, Candidate candidate) {
    State after = state();
    candidate.look = freeLook(after.candidates);
    after.candidates.insert(after.candidates.begin() + at, std::move(candidate));
    push(tr("Add Candidate"), std::move(after));
    return at;
}

void CandidateTable::setRunLog(int row, std::shared_ptr<const runs::RunLog> log) {
    State after = state();
    auto& candidate = after.candidates.at(static_cast<std::size_t>(row));
    candidate.runLogFile =
        log ? std::filesystem::absolute(log->file).lexically_normal().generic_string() : "";
    candidate.runLog = std::move(log);
    push(tr("Open Run Log"), std::move(after));
}

void CandidateTable::deleteCandidate(int at) {
    State after = state();
    after.candidates.erase(after.candidates.begin() + at);
    push(tr("Delete Candidate"), std::move(after));
}

void CandidateTable::deleteCandidates(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.empty())
        return;
    State after = state();
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        if (*it >= 0 && *it < rowCount())
            after.candidates.erase(after.candidates.begin() + *it);
    push(rows.size() == 1 ? tr("Delete Candidate") : tr("Delete Candidates"), std::move(after));
}

void CandidateTable::moveCandidate(int from, int to) {
    State after = state();
    std::swap(after.candidates.at(static_cast<std::size_t>(from)),
              after.candidates.at(static_cast<std::size_t>(to)));
    push(tr("Move Candidate"), std::move(after));
}

void CandidateTable::reset() {
    auto candidates = startingCandidates();
    giveLooks(candidates);
    beginResetModel();
    candidates_.clear();
    endResetModel();
    apply({std::move(candidates), folder_});
}

} // namespace explorer
