#include "workspace.hpp"

#include "candidate_file.hpp"
#include "efficiency_from_map.hpp"

#include <algorithm>
#include <iterator>

namespace explorer {

namespace {

// "no figures at P2: ..." and the like, in the words the row's note has always used.
constexpr const char* kMapUnreadable =
    "no figures: the efficiency is to come from the map, which cannot be read";
constexpr const char* kNoMap = "no figures: the efficiency is to come from the map, but none is "
                               "given";

// A file named from one folder, named from another.
std::string renamed(const std::filesystem::path& from, const std::string& name,
                    const std::filesystem::path& to) {
    return std::filesystem::absolute(from / name)
        .lexically_normal()
        .lexically_relative(to)
        .generic_string();
}

} // namespace

Workspace::Workspace() : Workspace(startingCandidates()) {}

Workspace::Workspace(std::vector<Candidate> candidates, std::filesystem::path folder) {
    assign(std::move(candidates), std::move(folder));
    setRequest(request_);
}

// Every figure here comes from point::evaluatePoint, through explorer::evaluate.
CandidatePoint Workspace::work(const Candidate& candidate) const {
    CandidatePoint out;
    if (!engineInputs(candidate))
        return out;
    if (auto outside = rangeProblem(candidate)) { // [range check]
        out.why = std::move(*outside);
        return out;
    }
    const auto* entry = maps_.get(folder_, candidate.map);
    const compmap::CompressorMap* map = entry && entry->map ? &*entry->map : nullptr;
    if (candidate.efficiencyFromMap && !map) {
        out.why = entry ? kMapUnreadable : kNoMap;
        return out;
    }
    // On its map the point's limits include the map's speed and surge margin.
    auto p = evaluate(candidate, map);
    out.match = p->onMap;
    if (p->outsideIslands) {
        out.why = "no figures at P2: " +
                  point::reasonText(*p, point::reasonFor(*p, EngineResult::Thrust));
        return out;
    }
    if (candidate.efficiencyFromMap)
        out.mapEfficiency = p->used[EngineInput::CompEfficiency];
    out.figures = std::move(p);
    return out;
}

void Workspace::workAll() {
    points_.resize(candidates_.size());
    for (std::size_t i = 0; i < candidates_.size(); ++i)
        points_[i] = work(candidates_[i]);
    curves_.assign(candidates_.size(), std::nullopt);
}

std::vector<Candidate> Workspace::splice(std::size_t at, std::size_t removed,
                                         std::vector<Candidate> inserted) {
    at = std::min(at, candidates_.size());
    removed = std::min(removed, candidates_.size() - at);
    const auto first = candidates_.begin() + static_cast<std::ptrdiff_t>(at);
    std::vector<Candidate> out(
        std::make_move_iterator(first),
        std::make_move_iterator(first + static_cast<std::ptrdiff_t>(removed)));
    candidates_.erase(first, first + static_cast<std::ptrdiff_t>(removed));
    points_.erase(points_.begin() + static_cast<std::ptrdiff_t>(at),
                  points_.begin() + static_cast<std::ptrdiff_t>(at + removed));
    curves_.erase(curves_.begin() + static_cast<std::ptrdiff_t>(at),
                  curves_.begin() + static_cast<std::ptrdiff_t>(at + removed));
    std::vector<CandidatePoint> points;
    points.reserve(inserted.size());
    for (const Candidate& c : inserted)
        points.push_back(work(c));
    const auto where = static_cast<std::ptrdiff_t>(at);
    curves_.insert(curves_.begin() + where, inserted.size(), std::nullopt);
    points_.insert(points_.begin() + where, std::make_move_iterator(points.begin()),
                   std::make_move_iterator(points.end()));
    candidates_.insert(candidates_.begin() + where, std::make_move_iterator(inserted.begin()),
                       std::make_move_iterator(inserted.end()));
    return out;
}

void Workspace::assign(std::vector<Candidate> candidates, std::filesystem::path folder) {
    giveLooks(candidates);
    candidates_ = std::move(candidates);
    folder_ = std::move(folder);
    maps_.clear();
    workAll();
}

// ---- looks and names -------------------------------------------------------------------------

namespace {

int leastUsedLook(const std::vector<Candidate>& candidates) {
    std::vector<int> uses(kLookCount, 0);
    for (const Candidate& c : candidates)
        if (c.look >= 0 && c.look < kLookCount)
            ++uses[static_cast<std::size_t>(c.look)];
    // The first unused look; past twenty, the least used.
    return static_cast<int>(std::min_element(uses.begin(), uses.end()) - uses.begin());
}

} // namespace

int Workspace::freeLook() const {
    return leastUsedLook(candidates_);
}

void Workspace::giveLooks(std::vector<Candidate>& candidates) {
    for (Candidate& c : candidates)
        if (c.look < 0 || c.look >= kLookCount)
            c.look = leastUsedLook(candidates);
}

std::string Workspace::freeName() const {
    for (int n = 1;; ++n) {
        const std::string name = "Candidate " + std::to_string(n);
        if (std::none_of(candidates_.begin(), candidates_.end(),
                         [&](const Candidate& c) { return c.name == name; }))
            return name;
    }
}

// ---- files -----------------------------------------------------------------------------------

std::optional<std::string> Workspace::open(const std::filesystem::path& file, OpenNotes* notes) {
    ReadResult read = loadCandidates(file);
    if (read.error)
        return read.error->text();
    const auto folder = std::filesystem::absolute(file).parent_path();
    if (notes)
        notes->ignoredColumns = read.ignored;
    // A run log that cannot be read costs only its markers: the candidate opens without them and
    // keeps the file's name, so saving does not lose it.
    for (auto& c : read.candidates) {
        if (c.runLogFile.empty())
            continue;
        auto log = runs::loadRunLog((folder / c.runLogFile).string());
        if (auto* ok = std::get_if<runs::RunLog>(&log))
            c.runLog = std::make_shared<const runs::RunLog>(std::move(*ok));
        else if (notes)
            notes->unreadRunLogs.push_back(std::get<runs::RunLogError>(log).text());
    }
    assign(std::move(read.candidates), folder);
    return std::nullopt;
}

namespace {
void rename(std::vector<Candidate>& candidates, const std::filesystem::path& from,
            const std::filesystem::path& to) {
    for (auto& c : candidates) {
        if (!c.map.empty() && std::filesystem::path(c.map).is_relative())
            c.map = renamed(from, c.map, to);
        // A log opened from the menu is named in full until saved beside its candidates.
        if (!c.runLogFile.empty())
            c.runLogFile = renamed(from, c.runLogFile, to);
    }
}
} // namespace

std::vector<Candidate> Workspace::namedHere(std::vector<Candidate> candidates,
                                            const std::filesystem::path& from) const {
    if (from != folder_)
        rename(candidates, from, folder_);
    return candidates;
}

std::optional<std::string> Workspace::save(const std::filesystem::path& file) {
    const auto folder = std::filesystem::absolute(file).parent_path();
    std::vector<Candidate> saved = candidates_;
    rename(saved, folder_, folder);
    if (const auto error = saveCandidates(file, saved))
        return error->text();
    // The same files, named from the new folder.
    if (folder != folder_) {
        candidates_ = std::move(saved);
        folder_ = folder;
        workAll();
    }
    return std::nullopt;
}

// ---- maps ------------------------------------------------------------------------------------

const MapLibrary::Entry* Workspace::mapOf(std::size_t i) const {
    return maps_.get(folder_, candidates_.at(i).map);
}

void Workspace::reloadMaps() {
    maps_.clear();
    workAll();
}

void Workspace::putMap(const std::filesystem::path& file, const compmap::CompressorMap& map) {
    maps_.put(file, map);
    workAll();
}

std::vector<const compmap::CompressorMap*> Workspace::candidateMaps() const {
    std::vector<const compmap::CompressorMap*> out(candidates_.size(), nullptr);
    for (std::size_t i = 0; i < candidates_.size(); ++i)
        if (const auto* entry = mapOf(i); entry && entry->map)
            out[i] = &*entry->map;
    return out;
}

std::optional<compmap::MatchFigures> Workspace::matchOn(std::size_t i,
                                                        const compmap::CompressorMap& map) const {
    return matchAtP2(candidates_.at(i), map);
}

std::vector<compmap::MapPoint> Workspace::sweepOn(std::size_t i,
                                                  const compmap::CompressorMap& map) const {
    return sweepOnMap(candidates_.at(i), map, request_);
}

// ---- curves ----------------------------------------------------------------------------------

void Workspace::setRequest(const CurveRequest& request) {
    request_ = request;
    fields::Sweep sweep;
    sweepProblem_ =
        fields::planSweep(request.from, request.to, request.step, sweep, kMaxCurvePoints);
    x_.clear();
    if (sweepProblem_ == fields::SweepProblem::None) {
        x_.resize(sweep.count);
        for (std::size_t i = 0; i < sweep.count; ++i)
            x_[i] = sweep.point(i);
    }
    curves_.assign(candidates_.size(), std::nullopt);
}

const CandidateCurves& Workspace::curves(std::size_t i) const {
    auto& kept = curves_.at(i);
    if (!kept) {
        kept.emplace();
        if (sweepProblem_ == fields::SweepProblem::None) {
            const auto* entry = mapOf(i);
            computeCandidateCurves(candidates_[i], request_, x_, *kept,
                                   entry && entry->map ? &*entry->map : nullptr);
        }
    }
    return *kept;
}

std::string Workspace::gaps(std::size_t i) const {
    std::string text = points_.at(i).why;
    for (const ResultCurve& curve : curves(i).results)
        if (!curve.gaps.empty())
            text += (text.empty() ? "" : "; ") + curve.gaps;
    return text;
}

std::optional<std::string> Workspace::writeCurves(std::ostream& out) const {
    return writeCurveCsv(out, candidates_, request_, candidateMaps());
}

} // namespace explorer
