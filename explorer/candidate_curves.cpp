// The candidates' curves as the chart and its CSV export take them.

#include "candidate_columns.hpp"
#include "candidate_file.hpp"
#include "candidate_table.hpp"
#include "curves.hpp"
#include "qt_text.hpp"
#include "run_markers.hpp"

#include <cmath>
#include <sstream>

namespace explorer {

using namespace table;

// Where the candidate itself sits on its curve: its own value of the swept input (the mass flow
// it used, when that is the wheel's estimate) and its result there, as its row shows them.
std::optional<QPointF> CandidateTable::ownPoint(std::size_t c, const CurveRequest& request,
                                                std::size_t k) const {
    const auto& r = results_[c];
    if (!r)
        return std::nullopt;
    const auto xField = turbo::engineField(request.swept);
    const float xForms = r->used[request.swept];
    const EngineResult result = request.results[k];
    const float x = fields::toDisplay(xField.quantity, request.units, xForms);
    const float y =
        fields::toDisplay(turbo::engineField(result).quantity, request.units, (*r)[result]);
    if (!std::isfinite(x) || !std::isfinite(y))
        return std::nullopt;
    return QPointF(x, y);
}

std::vector<ChartPanel> CandidateTable::curves(const CurveRequest& request, QString* problem) {
    const auto efficiency = efficiencyMaps();
    computeCurves(candidates_, request, curves_, efficiency);
    std::vector<ChartPanel> panels;
    panels.reserve(request.results.size());
    for (const EngineResult result : request.results)
        panels.push_back({titleWithUnit(turbo::engineField(result), request.units), {}});
    if (curves_.sweepProblem != fields::SweepProblem::None) {
        if (problem) {
            switch (curves_.sweepProblem) {
            case fields::SweepProblem::ZeroStep:
                *problem = tr("The sweep's step is 0.");
                break;
            case fields::SweepProblem::AwayFromStop:
                *problem = tr("The sweep's step goes away from \"to\".");
                break;
            case fields::SweepProblem::TooManyPoints:
                *problem = tr("The sweep has more than %1 points; take a larger step.")
                               .arg(groupedCount(kMaxCurvePoints));
                break;
            default:
                *problem = tr("The sweep's numbers are out of range.");
                break;
            }
        }
        return panels;
    }

    const auto& x = curves_.x;
    for (std::size_t c = 0; c < candidates_.size(); ++c) {
        const CandidateCurves& computed = curves_.candidates[c];
        QString gaps = ownGaps_[c];
        for (std::size_t k = 0; k < computed.results.size(); ++k) {
            const auto& y = computed.results[k].y;
            ChartCurve line{toQString(candidates_[c].name),
                            candidates_[c].look,
                            {},
                            ownPoint(c, request, k),
                            {},
                            {}};
            if (const auto& log = candidates_[c].runLog)
                for (const Marker& m :
                     runMarkers(candidates_[c], *log, request, request.results[k]))
                    line.markers.append(QPointF(m.x, m.y));
            for (const Run run : finiteRuns(y)) { // a gap where there is no figure, never a zero
                QList<QPointF> points;
                points.reserve(static_cast<qsizetype>(run.last - run.first));
                for (std::size_t i = run.first; i < run.last; ++i)
                    points.append(QPointF(x[i], y[i]));
                line.segments.push_back(std::move(points));
            }
            // Runs past a limit are shaded over the line.
            QList<QPointF> beyond;
            for (std::size_t i = 0; i <= y.size(); ++i) {
                if (i < y.size() && computed.beyondLimit[i] && std::isfinite(y[i])) {
                    beyond.append(QPointF(x[i], y[i]));
                } else if (!beyond.isEmpty()) {
                    line.beyond.push_back(beyond);
                    beyond.clear();
                }
            }
            panels[k].curves.push_back(std::move(line));
            if (!computed.results[k].gaps.empty())
                gaps += (gaps.isEmpty() ? QString() : QStringLiteral("; ")) +
                        toQString(computed.results[k].gaps);
        }
        if (gaps != gaps_[c]) {
            gaps_[c] = gaps;
            const QModelIndex note = index(static_cast<int>(c), kNoteColumn);
            emit dataChanged(note, note);
        }
    }
    return panels;
}

QByteArray CandidateTable::curveCsv(const CurveRequest& request) const {
    std::ostringstream out;
    writeCurveCsv(out, candidates_, request, efficiencyMaps());
    return QByteArray::fromStdString(out.str());
}

} // namespace explorer
